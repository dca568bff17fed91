#!/usr/bin/env python3
"""Compares two builds of mapbench: REF (any commit of this repository,
checked out in a git worktree under build/compare/) against the working
tree. Both run the chosen benchmarks in one session, alternating old and
new round by round; for each benchmark it prints both medians, the ratio
new/old with its 95 % interval, the test's p and the verdict, from the
same procedure as the report's (reporting/analysis/stats.py), then, for
the maps concerned, the instructions per find and per mix step that
bench/counts counts for each build. The worktree is removed at the end,
also on failure or interruption.

  bench/compare HEAD~1                         find and mix of every map at n=1e4
  bench/compare main '^mix/BTree_(64|128)/'    a Google Benchmark filter
  bench/compare v1 'fifo/' --sizes 1e6 --rounds 15
"""
import argparse
import contextlib
import json
import math
import os
import re
import signal
import subprocess
import sys
import tempfile
import time

from ..analysis.comparison import Comparison
from ..analysis.stats import LEVEL
from ..model import run_name
from ..model.catalog import PHASES, WORKLOADS
from ..model.timings import per_operation
from ..render.table import markdown_table
from ..render.text import interval_text, ns, size_label, test_text
from . import counts
from .deps import ensure_bench_tools
from . import flags
from .runner import ROOT

PROGRAMS = (PHASES, WORKLOADS)
LEAST_ROUNDS = 9  # fewer cannot separate this machine's noise from a few per cent
# Exit statuses: a tree that does not build, and any other failure.
BUILD_FAILED, FAILED = 1, 2


class CompareError(Exception):
    """A failure that ends the comparison with one message and its exit
    status."""

    def __init__(self, message, status=FAILED):
        super().__init__(message)
        self.status = status


def git(repo, *arguments):
    return subprocess.run(["git", "-C", repo] + list(arguments), check=True,
                          capture_output=True, text=True).stdout.strip()


def resolve(repo, ref):
    try:
        return git(repo, "rev-parse", "--verify", "--quiet", ref + "^{commit}")
    except subprocess.CalledProcessError:
        raise CompareError("'%s' names no commit of this repository" % ref) from None


@contextlib.contextmanager
def worktree(repo, commit, parent):
    """A detached checkout of `commit`, removed however the block ends:
    SIGTERM and SIGHUP end it as Ctrl-C does."""
    def stop(signum, _frame):
        raise KeyboardInterrupt("signal %d" % signum)

    previous = {s: signal.signal(s, stop) for s in (signal.SIGTERM, signal.SIGHUP)}
    os.makedirs(parent, exist_ok=True)
    path = tempfile.mkdtemp(prefix=commit[:12] + "-", dir=parent)
    try:
        git(repo, "worktree", "add", "--detach", "--force", path, commit)
        yield path
    finally:
        subprocess.run(["git", "-C", repo, "worktree", "remove", "--force", path],
                       capture_output=True)
        subprocess.run(["rm", "-rf", path])
        subprocess.run(["git", "-C", repo, "worktree", "prune"], capture_output=True)
        for s, handler in previous.items():
            signal.signal(s, handler)


def build(source, label, log_path):
    """Configures and builds the bench programs of one tree (release -O2,
    as the bench preset does); returns the folder of its programs."""
    folder = os.path.join(source, "build", "bench")
    with open(log_path, "w") as log:
        for command in (["cmake", "--preset", "bench"], ["cmake", "--build", "--preset", "bench"]):
            if subprocess.run(command, cwd=source, stdout=log, stderr=log).returncode != 0:
                raise CompareError("%s does not build (%s); the log is %s" % (
                    label, " ".join(command), log_path), BUILD_FAILED)
    programs = os.path.join(folder, "bench")
    if not os.path.exists(os.path.join(programs, PHASES)):
        raise CompareError("%s builds no bench programs (no %s)" % (label, PHASES), BUILD_FAILED)
    return programs


def listed(programs, program, sizes, pattern):
    """The benchmark names of one program that the filter selects."""
    path = os.path.join(programs, program)
    if not os.path.exists(path):
        return []
    result = subprocess.run([path, "--sizes=" + ",".join(map(str, sizes)),
                             "--benchmark_list_tests=true", "--benchmark_filter=" + pattern],
                            capture_output=True, text=True)
    return result.stdout.split() if result.returncode == 0 else []


def run_once(programs, program, sizes, names, min_time):
    """{name: ns per operation} from one run of one program."""
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        exact = "^(%s)$" % "|".join(names)
        subprocess.run([os.path.join(programs, program), "--sizes=" + ",".join(map(str, sizes)),
                        "--benchmark_filter=" + exact, "--benchmark_min_time=%g" % min_time,
                        "--benchmark_out=" + out.name, "--benchmark_out_format=json"],
                       check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        document = json.load(open(out.name))
    times = {}
    for entry in document["benchmarks"]:
        if entry.get("run_type", "iteration") == "iteration":
            times[entry["name"]] = per_operation(entry.get("items_per_second"))
            if not (math.isfinite(times[entry["name"]]) and times[entry["name"]] > 0):
                raise CompareError("%s read %r ns per operation; a time must be a positive "
                                   "number" % (entry["name"], times[entry["name"]]))
    return times


def time_table(samples):
    """Per benchmark: both medians, new/old with its 95 % interval, the U
    test, and the verdict, from the new build's side (better: it takes less
    time)."""
    rows = [["benchmark", "old ns/op", "new ns/op", "new/old [95 % interval]", "test",
             "verdict"]]
    for name, (old, new) in samples.items():
        # Round by round: the two builds ran one after the other.
        c = Comparison("new", "old", new, old, list(range(len(new))), list(range(len(old))))
        rows.append([name, ns(c.peer_median), ns(c.our_median), interval_text(c), test_text(c),
                     c.verdict])
    return markdown_table(rows, numeric=[1, 2, 3, 4])


def counted(tree, programs, jobs):
    """{(map, n): counts} of one build, counted by that tree's own
    bench/counts, which knows how its map_counts takes its arguments; {} when
    it cannot count them."""
    names = sorted({name for name, _ in jobs})
    sizes = sorted({str(n) for _, n in jobs})
    with tempfile.NamedTemporaryFile(suffix=".json") as out:
        done = subprocess.run([sys.executable, os.path.join(tree, "bench", "counts"), "--tool",
                               os.path.join(programs, "map_counts"), "--out", out.name,
                               "--maps"] + names + ["--sizes"] + sizes,
                              stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        if done.returncode != 0:
            return {}
        return {(row["name"], row["n"]): row for row in json.load(open(out.name))["counts"]}


def counts_table(old, new, jobs):
    """Instructions per find and per mix step of each build, per map and n;
    `old` and `new` are (tree, programs)."""
    old_counts, new_counts = counted(*old, jobs), counted(*new, jobs)
    rows = [["map", "n", "find old", "find new", "new/old", "mix old", "mix new", "new/old"]]
    for name, n in jobs:
        cells = [name, size_label(n)]
        if (name, n) not in old_counts or (name, n) not in new_counts:
            rows.append(cells + ["not counted by both builds (a sorted array's fill is too "
                                 "slow under callgrind beyond n=%s)" %
                                 size_label(counts.LARGEST_ARRAY)] + [""] * 5)
            continue
        for phase in ("find", "mix"):
            a = old_counts[name, n][phase]["instructions"]
            b = new_counts[name, n][phase]["instructions"]
            cells += ["%.1f" % a, "%.1f" % b, "%.3f" % (b / a)]
        rows.append(cells)
    return markdown_table(rows, numeric=list(range(1, 8)))


def compare(args):
    commit = args.commit
    label = "%s (%s)" % (args.ref, commit[:12])
    parent = os.path.join(ROOT, "build", "compare")
    with worktree(ROOT, commit, parent) as old_tree:
        print("building the working tree and %s" % label, file=sys.stderr, flush=True)
        new_programs = build(ROOT, "the working tree", os.path.join(parent, "new.log"))
        old_programs = build(old_tree, label, os.path.join(parent, "old.log"))
        chosen = {}
        for program in PROGRAMS:
            shared = set(listed(old_programs, program, args.sizes, args.filter))
            names = [n for n in listed(new_programs, program, args.sizes, args.filter)
                     if n in shared]
            if names:
                chosen[program] = names
        if not chosen:
            raise CompareError("the filter '%s' at n=%s selects no benchmark both builds have"
                               % (args.filter, ",".join(map(str, args.sizes))))
        samples = {name: ([], []) for names in chosen.values() for name in names}
        for round_index in range(args.rounds):
            builds = [(0, old_programs), (1, new_programs)]
            for side, programs in builds if round_index % 2 == 0 else builds[::-1]:
                for program, names in chosen.items():
                    for name, value in run_once(programs, program, args.sizes, names,
                                                args.min_time).items():
                        samples[name][side].append(value)
            print("round %d of %d done" % (round_index + 1, args.rounds), file=sys.stderr,
                  flush=True)
        print("Old: %s. New: the working tree. %d rounds, alternating; medians; new/old is the "
              "ratio of the geometric means with its %d %% interval (Student's t on the "
              "logarithms of the rounds' ratios: each round times both builds), from which the "
              "verdict comes (the interval wholly below 1: better; above: worse; else a tie), "
              "and the same test's p.\n" % (label, args.rounds, round(100 * LEVEL)))
        print("\n".join(time_table(samples)))
        jobs = sorted({run_name.parse(name)[1:] for name in samples},
                      key=lambda job: (job[1], job[0]))
        print("\nInstructions per operation (bench/counts, callgrind):\n")
        print("\n".join(counts_table((old_tree, old_programs), (ROOT, new_programs), jobs)))


def parser():
    found = argparse.ArgumentParser(prog="bench/compare", description=__doc__,
                                    formatter_class=argparse.RawDescriptionHelpFormatter)
    found.add_argument("ref", help="the commit to compare with: a hash, branch, tag, HEAD~1")
    found.add_argument("filter", nargs="?", default="^(find|mix)/",
                       help="Google Benchmark filter over 'suite/map/n' (default: find and mix)")
    found.add_argument("--sizes", type=flags.sizes, default=[10000])
    found.add_argument("--rounds", type=flags.count(LEAST_ROUNDS), default=LEAST_ROUNDS,
                       help="at least %d" % LEAST_ROUNDS)
    found.add_argument("--min-time", type=flags.seconds, default=0.1,
                       help="seconds each benchmark runs per round")
    return found


def arguments(argv=None):
    """The command line, every value checked before anything builds: the
    commit too, and the filter as a regular expression."""
    parse = parser()
    args = parse.parse_args(argv)
    try:
        re.compile(args.filter)
    except re.error as error:
        parse.error("filter: '%s' is not a regular expression (%s)" % (args.filter, error))
    try:
        args.commit = resolve(ROOT, args.ref)
    except CompareError as error:
        parse.error(str(error))
    return args


def main():
    args = arguments()
    ensure_bench_tools()
    started = time.monotonic()
    try:
        compare(args)
        print("\nbench/compare: %d min %02d s" % divmod(round(time.monotonic() - started), 60))
    except CompareError as error:
        print("bench/compare: %s" % error, file=sys.stderr)
        return error.status
    except KeyboardInterrupt:
        print("bench/compare: interrupted; the worktree is removed", file=sys.stderr)
        return 130
    return 0
