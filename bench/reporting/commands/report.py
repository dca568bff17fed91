"""Runs the benchmark suites and writes the report: the program's four
phases and the further workloads timed with Google Benchmark (repetitions
in rounds, each on a declared heap; each ratio with its 95 % interval and
the test's p, from Student's t on the logarithms), the machine's memory
round trip, heap bytes per entry weighed in an untimed run, and
instruction and cache-miss counts from callgrind. Writes results.md, the
JSON of every suite, the list of what ran (list.json) and the figures; a
full run into bench/results also rewrites README's results section.

  bench/report                       standard: every target at its sizes, 5 repetitions
                                     and more where undecided (10 to 15 minutes)
  bench/report --mode full           1e3 to 1e7, into bench/results/ (about 85 minutes)
  bench/report --quick --out DIR     every suite at n=1e3, one short repetition (CI)
  bench/report --from DIR            report again on the JSON saved in DIR

Aim it with --sizes 1e6, --maps 'BTree*,absl*' (names or shell patterns,
ours and peers alike), --workloads 'fifo,find' (suite names or patterns)
and --repetitions N. Which maps and suites there are: see list.json, or run
a bench program with --list.
"""
import argparse
import json
import os
import subprocess
import sys
import time

from ..analysis.targets import standing
from ..model import files
from ..model.catalog import PROGRAMS, WORKLOADS, Catalog
from ..model.machine import Machine
from ..model.timings import BadTime
from ..sections import document
from . import flags, machine_probe, processes
from .deps import ensure_bench_tools
from .modes import MODES
from .plan import Plan
from .runner import (DEFAULT_BUILD, PLAN_FILE, ROOT, all_commands, build_tools,
                     move_into_place, save, staging_of, tool)

DEFAULT_OUT = os.path.join(ROOT, "bench", "results")
README = os.path.join(ROOT, "README.md")
# What a plan is made from, as plan.json keeps it for a resumed run.
ASKED = ("mode", "sizes", "maps", "workloads", "repetitions", "huge_pages", "mix", "trace",
         "out", "build")
# Saved beside what was asked: the free memory the run's start saw, which
# sets the groups of processes that run side by side, and the last-level
# cache, half of which the chase before each round covers.
FREE_MEMORY = "free_memory"
CACHE_BYTES = "cache_bytes"


def asked_flags(asked):
    """The workload program's flags for the suites a user asked for."""
    return tuple("--%s=%s" % (name, asked[name]) for name in ("mix", "trace") if asked.get(name))


def asked_suites(asked):
    """The suites those flags add, run when no other workload is chosen."""
    return ",".join(suite for name, suite in (("mix", "own_mix"), ("trace", "trace"))
                    if asked.get(name))


def catalog_for(source, build, run_now, asked=()):
    """The list of what ran: saved beside the results, or else (a folder
    from before the list was saved) the built programs' own, with the
    suites the user asked for."""
    saved = files.read(source, files.LIST)
    if not run_now and saved is not None:
        return Catalog.from_json(saved)
    if run_now:
        build_tools(build)
    return Catalog.from_programs([tool(build, program) for program in PROGRAMS],
                                 {WORKLOADS: list(asked)})


def parser():
    found = argparse.ArgumentParser(prog="bench/report", description=__doc__,
                                    formatter_class=argparse.RawDescriptionHelpFormatter)
    found.add_argument("--mode", choices=sorted(MODES), default="standard")
    found.add_argument("--quick", action="store_const", dest="mode", const="quick",
                       help="the same as --mode quick")
    found.add_argument("--sizes", type=flags.sizes, help="record counts, such as 1e4,1e6")
    found.add_argument("--maps", type=flags.names, help="map names or shell patterns, ours and "
                       "peers alike, comma-separated (the names: list.json)")
    found.add_argument("--workloads", type=flags.names, help="suite names or shell patterns, "
                       "comma-separated (the names: list.json)")
    found.add_argument("--repetitions", type=flags.count(1))
    found.add_argument("--mix", type=flags.mix, help="a mix of one's own: operations with "
                       "their shares and the keys, such as find=95,insert=5,keys=latest "
                       "(docs/measuring.md)")
    found.add_argument("--trace", type=flags.trace, help="a file of operations to replay on "
                       "every chosen map (docs/measuring.md; docs/example.trace)")
    found.add_argument("--huge-pages", action="store_true", default=None,
                       help="run the largest sizes again with transparent huge pages "
                       "(the full mode always does)")
    found.add_argument("--from", dest="source", type=flags.folder,
                       help="report on the JSON saved in this folder (a run's, or an "
                       "interrupted run's OUT.partial)")
    found.add_argument("--resume", type=flags.folder,
                       help="continue the interrupted run whose staging folder (OUT.partial) "
                       "this is, skipping every command whose output it saved")
    found.add_argument("--out", type=flags.writable_folder,
                       help="default: bench/results for the full mode, else build/report-MODE")
    found.add_argument("--build", type=flags.writable_folder, default=DEFAULT_BUILD,
                       help="a configured build folder of the bench programs")
    return found


def arguments(argv=None):
    """The command line, every value checked before anything builds."""
    parse = parser()
    args = parse.parse_args(argv)
    aimed = [name for name in ("sizes", "maps", "workloads", "repetitions", "huge_pages",
                               "mix", "trace") if getattr(args, name) is not None]
    if args.source and args.resume:
        parse.error("--from and --resume: report on a folder, or continue its run, not both")
    if args.resume and (aimed or args.out):
        parse.error("--resume continues the run as it was asked: it takes no --%s" %
                    (aimed[0].replace("_", "-") if aimed else "out"))
    if args.resume and not os.path.exists(os.path.join(args.resume, PLAN_FILE)):
        parse.error("--resume: %s holds no interrupted run (no %s)" % (args.resume, PLAN_FILE))
    if args.build != DEFAULT_BUILD and not os.path.isdir(args.build):
        parse.error("--build: %s is not a build folder" % args.build)
    default_out = DEFAULT_OUT if args.mode == "full" else os.path.join(ROOT, "build",
                                                                        "report-" + args.mode)
    args.out = args.out or args.source or default_out
    return parse, args


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


class RunClock:
    """The run's own time, summed over every session of it when it was
    resumed, kept with its machine after each command: a run that is
    killed outright keeps the time it had taken up to its last command."""

    def __init__(self, folder, started, clock=time.monotonic):
        self.folder = folder
        self.last = started
        self.clock = clock

    def record(self):
        now = self.clock()
        record = files.read(self.folder, files.MACHINE)
        if record is not None:
            record["seconds"] = round(record.get("seconds", 0) + now - self.last, 1)
            save(files.path(self.folder, files.MACHINE),
                 lambda part: json.dump(record, part, indent=1))
        self.last = now


def plan_of(staging, catalog):
    """The plan of a run as its staging folder keeps it."""
    with open(os.path.join(staging, PLAN_FILE)) as saved:
        asked = json.load(saved)
    return asked, Plan(catalog, asked["mode"], asked["sizes"], asked["maps"],
                       asked["workloads"] or asked_suites(asked) or None, asked["repetitions"],
                       asked["huge_pages"], files.read(staging, files.STANDING) or [],
                       asked_flags(asked), asked.get(FREE_MEMORY), asked.get(CACHE_BYTES))


def start(args, parse):
    """A new run's staging folder: what was asked, the list, the variants
    chosen before the run and the machine."""
    staging = staging_of(args.out)
    if os.path.exists(staging):
        parse.error("an interrupted run waits in %s: continue it with --resume %s, or remove "
                    "it" % (staging, staging))
    asked = {name: getattr(args, name) for name in ASKED}
    asked[FREE_MEMORY] = processes.free_memory()
    asked[CACHE_BYTES] = machine_probe.last_level_cache_bytes()
    catalog = catalog_for(staging, args.build, True, asked_flags(asked))
    try:
        plan = Plan(catalog, args.mode, args.sizes, args.maps,
                    args.workloads or asked_suites(asked) or None, args.repetitions,
                    args.huge_pages, committed_standing(args.out, catalog), asked_flags(asked),
                    asked[FREE_MEMORY], asked[CACHE_BYTES])
    except ValueError as error:
        parse.error(str(error))
    os.makedirs(staging)
    with open(os.path.join(staging, PLAN_FILE), "w") as saved:
        json.dump(asked, saved, indent=1)
    files.write(staging, files.LIST, catalog.to_json(), indent=1)
    if plan.standing_records:
        files.write(staging, files.STANDING, plan.standing_records, indent=1)
    files.write(staging, files.MACHINE, machine_probe.machine(args.build, ROOT, args.out),
                indent=1)
    return staging


def run(staging, started):
    """Runs what the staging folder's run still lacks; moves its results
    into place once it is complete. Returns the folder and mode to report.
    A command that fails, or an interruption, leaves the run in the staging
    folder, to be resumed."""
    with open(os.path.join(staging, PLAN_FILE)) as saved:
        build = json.load(saved)["build"]
    build_tools(build)
    # The list the run was planned on, so that a resumed run runs the same
    # commands.
    asked, plan = plan_of(staging, Catalog.from_json(files.read(staging, files.LIST)))
    clock = RunClock(staging, started)
    try:
        _, missing = all_commands(staging, plan, build, clock.record)
    except (subprocess.CalledProcessError, KeyboardInterrupt) as stopped:
        clock.record()
        what = "interrupted" if isinstance(stopped, KeyboardInterrupt) else \
            "a command failed (%s)" % " ".join(map(str, stopped.cmd))
        sys.exit("bench/report: %s; the run waits in %s: bench/report --resume %s goes on "
                 "with it" % (what, staging, staging))
    clock.record()
    if missing:
        sys.exit("bench/report: %d commands did not run; the run waits in %s" % (
            len(missing), staging))
    move_into_place(staging, asked["out"])
    return asked["out"], asked["mode"]


def missing_of(folder, catalog):
    """The commands an interrupted run has not run yet, when `folder` is its
    staging folder; [] for a complete run's folder."""
    if not os.path.exists(os.path.join(folder, PLAN_FILE)):
        return []
    _, plan = plan_of(folder, catalog)
    return all_commands(folder, plan)[1]


def main():
    try:
        return report()
    except BadTime as error:
        sys.exit("bench/report: %s" % error)


def report():
    started = time.monotonic()
    parse, args = arguments()
    ensure_bench_tools()
    mode, source = args.mode, args.source
    if args.resume:
        source, mode = run(args.resume, started)
    elif not source:
        source, mode = run(start(args, parse), started)
    out = args.out if args.source else source
    os.makedirs(out, exist_ok=True)
    catalog = catalog_for(source, args.build, run_now=False)
    missing = missing_of(source, catalog)
    files.write(out, files.LIST, catalog.to_json(), indent=1)
    results = files.Results(source, catalog, missing)
    if not results.anything_timed():
        sys.exit("no timed results in " + source)
    pictures = document.draw(out, results)
    reference = committed_machine(source)
    what = "the committed results (bench/results)"
    print("wrote " + document.write_markdown(out, results, pictures, reference, what))
    for line in document.warnings(results, reference, what):
        if line:
            print(line.replace("**", ""), file=sys.stderr)
    if out == DEFAULT_OUT and (mode == "full" or args.source) and results.timings and \
            not missing:
        document.update_readme(README, results, pictures,
                               os.path.relpath(DEFAULT_OUT, os.path.dirname(README)))
    minutes, seconds = divmod(round(time.monotonic() - started), 60)
    print("bench/report: %d min %02d s" % (minutes, seconds))
    return 0
