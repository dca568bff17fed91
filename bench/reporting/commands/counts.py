#!/usr/bin/env python3
"""Noise-free counts of the find and mix phases: instructions, simulated L1
data-cache misses and simulated last-level data-cache misses per operation,
for our maps and the peers, measured by valgrind's callgrind with its cache
simulator. Only the measured finds and mix steps are collected (map_counts
switches collection on around them); the same build gives the same numbers
on every run.

  bench/counts                     every map at n=1e4 and 1e5 (sorted arrays at 1e4)
  bench/counts --sizes 10000       chosen sizes
  bench/counts --guard             our maps at n=1e4, instructions only, against
                                   bench/results/counts_baseline.json: fails when one exceeds
                                   its baseline by more than 3 %
  bench/counts --update-baseline   rewrite bench/results/counts_baseline.json from a new run
  bench/counts --maps BTree_64 std_map --tool DIR/map_counts
                                   chosen maps, counted by another build's map_counts
  bench/counts --scans             the ordered scans instead: per visited entry of a
                                   whole walk, and per short scan of 1 to 100 entries
"""
import argparse
import concurrent.futures
import json
import os
import subprocess
import sys
import tempfile

from ..model.catalog import Catalog
from ..render.table import markdown_table
from ..sections.tables import scan_counts_table
from . import flags
from .deps import ensure_bench_tools
from .runner import ROOT

BASELINE = os.path.join(ROOT, "bench", "results", "counts_baseline.json")
TOOL = os.path.join(ROOT, "build", "bench", "bench", "map_counts")
FINDS = 20000          # measured finds per run
MIXES = 20000          # measured mix steps per run (after n uncounted ones)
GUARD_SIZE = 10000
TOLERANCE = 0.03
# A fixed cache model, so that the counts do not depend on the host: this
# machine's L1 data cache and its per-core L2 as the last level.
SIMULATED_L2 = 1048576
CACHE = ["--I1=32768,8,64", "--D1=32768,8,64", "--LL=%d,16,64" % SIMULATED_L2]
# The simulated processor states caches of its own (an L2 of 256 KiB): the
# B-tree, which fetches ahead by the L2's size, takes the simulated one.
SIMULATED_MACHINE = ["--l2-bytes=%d" % SIMULATED_L2]
CACHE_TEXT = "simulated caches: L1 data 32 KiB 8-way, last level 1 MiB 16-way, 64-byte lines"
LARGEST_ARRAY = 10000  # sorted arrays fill in quadratic time, slow under valgrind
WALKS = 2              # whole walks counted per run
SCANS = 5000           # short scans counted per run


def build(tool):
    if tool != TOOL:
        return
    for command in (["cmake", "--preset", "bench"], ["cmake", "--build", "--preset", "bench",
                                                     "--target", "map_counts"]):
        subprocess.run(command, cwd=ROOT, check=True, stdout=subprocess.DEVNULL)


def read_totals(path):
    events = totals = None
    with open(path) as profile:
        for line in profile:
            if line.startswith("events:"):
                events = line.split()[1:]
            elif line.startswith("totals:"):
                totals = [int(x) for x in line.split()[1:]]
    totals += [0] * (len(events) - len(totals))
    return dict(zip(events, totals))


def per(totals, operations, cache):
    result = {"instructions": totals["Ir"] / operations}
    if cache:
        result["l1_misses"] = (totals["D1mr"] + totals["D1mw"]) / operations
        result["ll_misses"] = (totals["DLmr"] + totals["DLmw"]) / operations
    return result


def callgrind(arguments, cache):
    """Runs map_counts under callgrind; its standard output and the totals
    of each dumped part, in order."""
    with tempfile.TemporaryDirectory() as work:
        out = os.path.join(work, "profile")
        command = ["valgrind", "--tool=callgrind", "--collect-atstart=no",
                   "--callgrind-out-file=" + out]
        if cache:
            command += ["--cache-sim=yes"] + CACHE
        # A fixed environment: the stack's contents and addresses stay the same.
        done = subprocess.run(command + arguments + SIMULATED_MACHINE, check=True, cwd=work,
                              env={"PATH": "/usr/bin:/bin"}, capture_output=True, text=True)
        parts = sorted((p for p in os.listdir(work) if p.startswith("profile.")),
                       key=lambda p: int(p.split(".")[1]))
        return done.stdout, [read_totals(os.path.join(work, p)) for p in parts]


def count(tool, name, n, cache):
    """Per-operation counts of one map's find and mix phases at size n."""
    _, (finds, mixes) = callgrind([tool, "--map=" + name, "--size=%d" % n, "--finds=%d" % FINDS,
                                   "--mixes=%d" % MIXES], cache)
    return {"name": name, "n": n, "find": per(finds, FINDS, cache),
            "mix": per(mixes, MIXES, cache)}


def count_scans(tool, name, n, cache):
    """Per visited entry of a whole walk, and per short scan and per entry
    it visits, of one map at size n."""
    output, (walks, scans) = callgrind([tool, "--scans", "--map=" + name, "--size=%d" % n,
                                        "--walks=%d" % WALKS, "--short-scans=%d" % SCANS], cache)
    visited = int(output.split()[1])
    return {"name": name, "n": n, "walk": per(walks, WALKS * n, cache),
            "short_scan": per(scans, SCANS, cache),
            "short_scan_entry": per(scans, visited, cache)}


def measure(tool, jobs, cache, counter=count):
    workers = os.cpu_count() or 1
    with concurrent.futures.ThreadPoolExecutor(max_workers=workers) as pool:
        futures = [pool.submit(counter, tool, name, n, cache) for name, n in jobs]
        results = []
        for done, future in enumerate(futures, start=1):
            results.append(future.result())
            print("counted %d of %d: %s at n=%d" % (done, len(jobs), results[-1]["name"],
                                                  results[-1]["n"]), file=sys.stderr, flush=True)
        return results


def table(results, peers, cache):
    by_key = {(r["name"], r["n"]): r for r in results}
    columns = ["instructions"] + (["l1_misses", "ll_misses"] if cache else [])
    titles = {"instructions": "instr/op", "l1_misses": "L1 miss/op", "ll_misses": "LL miss/op"}
    rows = [["map", "n"] + ["%s %s" % (phase, titles[c]) for phase in ("find", "mix")
                            for c in columns] + ["find instr vs peer", "mix instr vs peer"]]
    for r in results:
        cells = [r["name"], "%d" % r["n"]]
        cells += ["%.1f" % r[phase][c] for phase in ("find", "mix") for c in columns]
        peer = by_key.get((peers.get(r["name"]), r["n"]))
        for phase in ("find", "mix"):
            cells.append("%.2f (%s)" % (r[phase]["instructions"] / peer[phase]["instructions"],
                                        peer["name"]) if peer else "")
        rows.append(cells)
    return markdown_table(rows, numeric=list(range(1, len(rows[0]))))


def compare_to_baseline(current, baseline):
    """The guard's table for every map and phase, and how many fail: above
    the baseline by more than TOLERANCE, or without a baseline at all."""
    rows, failed = [["map", "phase", "baseline instr/op", "now", "change", "verdict"]], 0
    for name in current:
        for phase in ("find", "mix"):
            now = current[name][phase]
            before = baseline.get(name, {}).get(phase)
            if before is None:
                rows.append([name, phase, "", "%.1f" % now, "", "NO BASELINE"])
                failed += 1
                continue
            change = now / before - 1
            verdict = "REGRESSION" if change > TOLERANCE else "ok"
            failed += verdict != "ok"
            rows.append([name, phase, "%.1f" % before, "%.1f" % now, "%+.1f%%" % (100 * change),
                         verdict])
    return markdown_table(rows, numeric=[2, 3, 4]), failed


def guard(results, update):
    current = {r["name"]: {p: round(r[p]["instructions"], 1) for p in ("find", "mix")}
               for r in results}
    settings = {"n": GUARD_SIZE, "finds": FINDS, "mixes": MIXES}
    if update:
        with open(BASELINE, "w") as out:
            json.dump(dict(settings, instructions_per_operation=current), out, indent=2,
                      sort_keys=True)
            out.write("\n")
        print("wrote " + os.path.relpath(BASELINE, ROOT))
        return 0
    with open(BASELINE) as source:
        baseline = json.load(source)
    if any(baseline.get(key) != value for key, value in settings.items()):
        print("the baseline was counted with other settings than %s; refresh it with "
              "bench/counts --update-baseline" % settings)
        return 1
    rows, failed = compare_to_baseline(current, baseline["instructions_per_operation"])
    print("\n".join(rows))
    if failed:
        print("%d phase(s) above their baseline by more than %d %% or without one; if the "
              "change is meant, refresh with bench/counts --update-baseline" %
              (failed, 100 * TOLERANCE))
        return 1
    print("every map within %d %% of its baseline" % (100 * TOLERANCE))
    return 0


def save(path, document):
    """The counts as JSON at `path`, when one was given."""
    if path:
        with open(path, "w") as out:
            json.dump(document, out, indent=1)
            out.write("\n")


def report_scans(args, tool, catalog, names):
    jobs = [(name, n) for n in args.sizes for name in names
            if catalog.scans(name) and catalog.role(name) != "floor" and
            not (catalog.contenders[name]["quadratic_fill"] and n > LARGEST_ARRAY)]
    results = measure(tool, jobs, True, counter=count_scans)
    print("%d whole walks and %d short scans (1 to 100 entries, uniform starts) per map; %s."
          % (WALKS, SCANS, CACHE_TEXT))
    print("\n".join(scan_counts_table(results)))
    without = [name for name in names
               if not catalog.scans(name) and catalog.role(name) != "floor"]
    if without:
        print("No ordered scan: %s." % ", ".join(without))
    save(args.out, {"walks": WALKS, "scans": SCANS, "caches": CACHE_TEXT, "counts": results,
                    "without_scan": without})
    return 0


def parser():
    parser = argparse.ArgumentParser(prog="bench/counts", description=__doc__,
                                     formatter_class=argparse.RawDescriptionHelpFormatter)
    parser.add_argument("--sizes", type=flags.size, nargs="+", default=[10000, 100000])
    parser.add_argument("--guard", action="store_true")
    parser.add_argument("--update-baseline", action="store_true")
    parser.add_argument("--out", type=flags.output_file, help="also write the counts as JSON here")
    parser.add_argument("--maps", nargs="+", type=flags.names,
                        help="only these maps (default: every one)")
    parser.add_argument("--tool", type=flags.program,
                        help="the map_counts program to run (default: the bench build's)")
    parser.add_argument("--scans", action="store_true",
                        help="count the ordered scans of the maps that have one")
    return parser


def main():
    args = parser().parse_args()
    ensure_bench_tools()
    tool = args.tool or TOOL
    build(tool)
    catalog = Catalog.from_programs([tool])
    names = list(catalog.contenders)
    if args.maps:
        unknown = set(args.maps) - set(names)
        if unknown:
            sys.exit("bench/counts: no map named %s" % ", ".join(sorted(unknown)))
        names = [name for name in names if name in args.maps]
    if args.scans:
        return report_scans(args, tool, catalog, names)
    peers = {name: catalog.peer(name) for name in names if catalog.peer(name)}
    checking = args.guard or args.update_baseline
    if checking:
        jobs = [(name, GUARD_SIZE) for name in names if catalog.role(name) == "ours"]
    else:
        jobs = [(name, n) for n in args.sizes for name in names
                if not (catalog.contenders[name]["quadratic_fill"] and n > LARGEST_ARRAY)]
    results = measure(tool, jobs, cache=not checking)
    if checking:
        return guard(results, args.update_baseline)
    print("Per operation, %d finds and %d mix steps per map; %s." % (FINDS, MIXES, CACHE_TEXT))
    print("\n".join(table(results, peers, cache=True)))
    save(args.out, {"finds": FINDS, "mixes": MIXES, "caches": CACHE_TEXT, "peers": peers,
                    "counts": results})
    return 0

