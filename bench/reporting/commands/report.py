"""Runs the benchmark suites and writes the report: the program's four
phases and the further workloads timed with Google Benchmark (repetitions
in rounds, each on a declared heap; each ratio with its 95 % interval and
the test's p, from Student's t on the logarithms), the machine's memory
round trip, heap bytes per entry weighed in an untimed run, and
instruction and cache-miss counts from callgrind. Writes results.md, the
JSON of every suite, the list of what ran (list.json) and the figures; a
full run into bench/results also rewrites README's results section.

  bench/report                       standard: every target at its sizes, 5 repetitions
                                     and more where undecided (about 11 minutes)
  bench/report --mode full           1e3 to 1e7, into bench/results/ (about an hour)
  bench/report --quick --out DIR     every suite at n=1e3, one short repetition (CI)
  bench/report --from DIR            report again on the JSON saved in DIR

Aim it with --sizes 1e6, --maps 'BTree*,absl*' (names or shell patterns,
ours and peers alike), --workloads 'fifo,find' (suite names or patterns)
and --repetitions N. Which maps and suites there are: see list.json, or run
a bench program with --list.
"""
import argparse
import os
import sys
import time

from ..analysis.targets import standing
from ..model import files
from ..model.catalog import PROGRAMS, Catalog
from ..model.machine import Machine
from ..model.timings import BadTime
from ..sections import document
from .deps import ensure_bench_tools
from .plan import MODES, Plan, parse_sizes
from .runner import DEFAULT_BUILD, ROOT, build_tools, run_all, tool

DEFAULT_OUT = os.path.join(ROOT, "bench", "results")
README = os.path.join(ROOT, "README.md")


def catalog_for(source, build, run_now):
    """The list of what ran: saved beside the results, or else (a folder
    from before the list was saved) the built programs' own."""
    saved = files.read(source, files.LIST)
    if not run_now and saved is not None:
        return Catalog.from_json(saved)
    if run_now:
        build_tools(build)
    return Catalog.from_programs([tool(build, program) for program in PROGRAMS])


def arguments():
    parser = argparse.ArgumentParser(prog="bench/report", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--mode", choices=sorted(MODES), default="standard")
    parser.add_argument("--quick", action="store_const", dest="mode", const="quick",
                        help="the same as --mode quick")
    parser.add_argument("--sizes", type=parse_sizes, help="record counts, such as 1e4,1e6")
    parser.add_argument("--maps", help="map names or shell patterns, ours and peers alike, "
                        "comma-separated (the names: list.json)")
    parser.add_argument("--workloads", help="suite names or shell patterns, comma-separated "
                        "(the names: list.json)")
    parser.add_argument("--repetitions", type=int)
    parser.add_argument("--huge-pages", action="store_true", default=None,
                        help="run the largest sizes again with transparent huge pages "
                        "(the full mode always does)")
    parser.add_argument("--from", dest="source", help="report on the JSON saved in this folder")
    parser.add_argument("--out", help="default: bench/results for the full mode, else "
                        "build/report-MODE")
    parser.add_argument("--build", default=DEFAULT_BUILD,
                        help="a configured build folder of the bench programs")
    args = parser.parse_args()
    if args.repetitions is not None and args.repetitions < 1:
        parser.error("--repetitions takes a positive count")
    default_out = DEFAULT_OUT if args.mode == "full" else os.path.join(ROOT, "build",
                                                                        "report-" + args.mode)
    args.out = os.path.abspath(args.out or (args.source or default_out))
    args.build = os.path.abspath(args.build)
    return parser, args


def committed_machine(out):
    """The machine of the committed results, to set beside another run's;
    None for the committed run itself or when none is recorded."""
    if os.path.abspath(out) == os.path.abspath(DEFAULT_OUT):
        return None
    record = files.read(DEFAULT_OUT, files.MACHINE)
    return Machine(record) if record else None


def committed_standing(out, catalog):
    """The variants that stood for our kinds in the committed results, for a
    run into another folder to be judged on; none for the committed run
    itself, which chooses its own."""
    if os.path.abspath(out) == os.path.abspath(DEFAULT_OUT):
        return []
    return standing(files.Results(DEFAULT_OUT, catalog))


def record_time(out, started):
    """The run's own time, kept with its machine and printed at the end."""
    seconds = time.monotonic() - started
    record = files.read(out, files.MACHINE)
    if record is not None:
        record["seconds"] = round(seconds)
        files.write(out, files.MACHINE, record, indent=1)
    return seconds


def main():
    try:
        return report()
    except BadTime as error:
        sys.exit("bench/report: %s" % error)


def report():
    started = time.monotonic()
    ensure_bench_tools()
    parser, args = arguments()
    os.makedirs(args.out, exist_ok=True)
    source = os.path.abspath(args.source) if args.source else args.out
    catalog = catalog_for(source, args.build, run_now=not args.source)
    if not args.source:
        try:
            plan = Plan(catalog, args.mode, args.sizes, args.maps, args.workloads,
                        args.repetitions, args.huge_pages, committed_standing(args.out, catalog))
        except ValueError as error:
            parser.error(str(error))
        run_all(args.out, plan, args.build)
        record_time(args.out, started)
    files.write(args.out, files.LIST, catalog.to_json(), indent=1)
    results = files.Results(source, catalog)
    if not results.anything_timed():
        sys.exit("no timed results in " + source)
    pictures = document.draw(args.out, results)
    reference = committed_machine(source)
    what = "the committed results (bench/results)"
    print("wrote " + document.write_markdown(args.out, results, pictures, reference, what))
    for line in document.warnings(results, reference, what):
        if line:
            print(line.replace("**", ""), file=sys.stderr)
    if args.out == DEFAULT_OUT and (args.mode == "full" or args.source) and results.timings:
        document.update_readme(README, results, pictures,
                               os.path.relpath(DEFAULT_OUT, os.path.dirname(README)))
    minutes, seconds = divmod(round(time.monotonic() - started), 60)
    print("bench/report: %d min %02d s" % (minutes, seconds))
    return 0
