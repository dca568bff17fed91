"""A report's run survives an interruption: with stand-in programs that
write what the bench programs write (the same times every run), a run
stopped at a random command and resumed saves exactly what an uninterrupted
run saves; an interrupted run's report says what is missing and judges no
target that lacks its data; and only a complete run replaces the results
it is meant for."""
import itertools
import json
import os
import random
import shutil
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis.targets import judge_all  # noqa: E402
from reporting.commands import report, runner  # noqa: E402
from reporting.commands.plan import Plan  # noqa: E402
from reporting.model import files  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.sections import document  # noqa: E402
from report_fixtures import contender, goal  # noqa: E402

# Stands in for every bench program: times drawn from the benchmark's name
# and repetition, so that two runs write the same.
STAND_IN = r'''#!/usr/bin/env python3
import json, os, re, sys, zlib
program = os.path.basename(sys.argv[0])
if program == "counts":
    with open(sys.argv[sys.argv.index("--out") + 1], "w") as out:
        json.dump({"counts": [], "caches": "", "peers": {}, "finds": 1, "mixes": 1}, out)
    sys.exit(0)
flags = dict(a[2:].split("=", 1) if "=" in a else (a[2:], "") for a in sys.argv[1:])
sizes = [int(n) for n in flags.get("sizes", "1000").split(",")]
maps, suites = ["Tree_16", "peer_tree"], {"map_phases_bench": ["find"],
                                           "map_workloads_bench": ["walk"],
                                           "map_latency": ["mix_latency"]}
def ns(name, repetition):
    return 10 + zlib.crc32(("%s#%d" % (name, repetition)).encode()) % 100 / 10
if program == "map_events":
    print(json.dumps({"runs": []}))
elif program == "round_trip":
    laps = [2.0 + lap for lap in range(int(flags.get("laps", "5")))]
    print(json.dumps({"round_trips": [{"n": n, "bytes": 32 * n, "ns": 2.0, "laps_ns": laps}
                                      for n in sizes]}))
elif program == "map_latency":
    names = ["%s/%s/%d" % (s, m, n) for s in flags["suites"].split(",")
             for m in flags["maps"].split(",") for n in sizes]
    print(json.dumps({"ticks_per_ns": 2.0, "operations": 10, "timer": {"percentiles": {"50": 1}},
                      "runs": [{"name": name, "operations": 10, "max": 9.0,
                                "percentiles": {"50": ns(name, int(flags.get("shuffle", 0)))}}
                               for name in names]}))
else:
    pattern = re.compile(flags["benchmark_filter"])
    repetitions = int(flags.get("benchmark_repetitions", "1"))
    names = [name for s in suites[program] for m in maps for n in sizes
             for name in ["%s/%s/%d" % (s, m, n)] if pattern.search(name)]
    runs = [{"name": name, "run_name": name, "run_type": "iteration", "repetition_index": r,
             "items_per_second": 1e9 / ns(name, r)} for name in names for r in range(repetitions)]
    with open(flags["benchmark_out"], "w") as out:
        json.dump({"context": {}, "benchmarks": runs}, out)
'''


MAPS = [contender("Tree_16", "ours", "peer_tree", "Tree", 16), contender("peer_tree", "peer")]
CATALOG = Catalog([
    {"program": "map_phases_bench", "contenders": MAPS,
     "suites": [{"name": "find", "unit": "operation", "largest_array": 100}],
     "targets": {"sizes": [1000], "goals": [
         goal("Tree", "find", 1.0),
         goal("Tree", "walk", 1.0, sizes=[1000, 1000000])]}},
    {"program": "map_workloads_bench", "contenders": MAPS,
     "suites": [{"name": "walk", "unit": "entry", "largest_array": 100, "scans": True,
                 "shared_fill": "random"}]},
    {"program": "map_latency", "contenders": MAPS,
     "suites": [{"name": "mix_latency", "unit": "operation", "largest_array": 100}]},
])


class Interrupted(Exception):
    pass


class ResumeTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.build = os.path.join(self.folder, "build")
        os.makedirs(os.path.join(self.build, "bench"))
        stand_in = os.path.join(self.build, "stand_in")
        with open(stand_in, "w") as script:
            script.write(STAND_IN)
        os.chmod(stand_in, 0o755)
        for program in ("map_phases_bench", "map_workloads_bench", "map_latency", "round_trip",
                        "map_events", "counts"):
            os.symlink(stand_in, os.path.join(self.build, "bench", program))
        self.scripts = dict(runner.SCRIPTS)
        runner.SCRIPTS["bench/counts"] = os.path.join(self.build, "bench", "counts")
        self.plan = Plan(CATALOG, "standard", sizes=[1000, 1000000], workloads="find,walk,mix*",
                         repetitions=3, cache_bytes=1 << 20)
        self.execute = runner.execute
        self.execute_together = runner.execute_together
        self.quiet = open(os.devnull, "w")
        self.stdout, sys.stdout = sys.stdout, self.quiet

    def tearDown(self):
        runner.execute = self.execute
        runner.execute_together = self.execute_together
        runner.SCRIPTS.update(self.scripts)
        sys.stdout = self.stdout
        self.quiet.close()
        shutil.rmtree(self.folder)

    def staging(self, name):
        path = os.path.join(self.folder, name + ".partial")
        os.makedirs(path)
        return path

    def saved(self, staging):
        return {output.name: files.read(staging, output) for output in files.MEASURED
                if files.read(staging, output) is not None}

    def stop_after(self, count):
        """The runner stops (as on Ctrl-C) when it starts the command after
        the first `count`."""
        started = []

        def stopping(command, build, path):
            if len(started) == count:
                raise Interrupted
            started.append(command)
            self.execute(command, build, path)

        def stopping_together(numbered, build, staging):
            # Processes side by side start at once, or not at all.
            if len(started) + len(numbered) > count:
                raise Interrupted
            started.extend(command for _, command in numbered)
            self.execute_together(numbered, build, staging)
        runner.execute = stopping
        runner.execute_together = stopping_together

    def test_a_run_stopped_anywhere_and_resumed_saves_what_an_uninterrupted_run_saves(self):
        whole = self.staging("whole")
        commands, missing = runner.all_commands(whole, self.plan, self.build)
        self.assertEqual(missing, [])
        self.assertGreater(len(commands), 10)
        for stop in random.Random(5).sample(range(1, len(commands)), 3):
            with self.subTest(stop=stop):
                staging = self.staging("stopped-%d" % stop)
                self.stop_after(stop)
                with self.assertRaises(Interrupted):
                    runner.all_commands(staging, self.plan, self.build)
                runner.execute, runner.execute_together = self.execute, self.execute_together
                _, missing = runner.all_commands(staging, self.plan, self.build)
                self.assertEqual(missing, [])
                self.assertEqual(self.saved(staging), self.saved(whole))

    def test_an_interrupted_run_says_what_is_missing_and_judges_nothing_without_data(self):
        staging = self.staging("stopped")
        self.stop_after(5)
        with self.assertRaises(Interrupted):
            runner.all_commands(staging, self.plan, self.build)
        runner.execute, runner.execute_together = self.execute, self.execute_together
        _, missing = runner.all_commands(staging, self.plan)
        self.assertEqual(len(missing), len(self.plan.first_pass()) - 5)
        results = files.Results(staging, CATALOG, missing)
        judged = {(t.measure, t.n) for t in judge_all(results.judged(), None, None)}
        # The find at 1e3 ran whole in the first rounds; the walks at 1e6
        # had not begun.
        self.assertNotIn(("walk", 1000000), judged)
        text = "\n".join(document.warnings(results))
        self.assertIn("**An incomplete run.** %d commands of this run did not run" %
                      len(missing), text)
        self.assertIn("bench/report --resume %s" % staging, text)

    def test_a_run_killed_outright_keeps_the_time_it_had_taken(self):
        staging = self.staging("killed")
        files.write(staging, files.MACHINE, {"seconds": 60})
        ticks = itertools.count(1010, 10)  # ten seconds a command
        clock = report.RunClock(staging, 1000, lambda: next(ticks))
        self.stop_after(5)
        with self.assertRaises(Interrupted):  # as a kill: nothing after it runs
            runner.all_commands(staging, self.plan, self.build, clock.record)
        self.assertEqual(files.read(staging, files.MACHINE)["seconds"], 60 + 5 * 10)
        runner.execute, runner.execute_together = self.execute, self.execute_together
        ticks = itertools.count(5, 5)  # five seconds a command, in another session
        resumed = report.RunClock(staging, 0, lambda: next(ticks))
        commands, _ = runner.all_commands(staging, self.plan, self.build, resumed.record)
        self.assertEqual(files.read(staging, files.MACHINE)["seconds"],
                         110 + 5 * (len(commands) - 5))

    def test_only_a_complete_run_replaces_the_results(self):
        out = os.path.join(self.folder, "results")
        os.makedirs(out)
        files.write(out, files.PHASES, {"benchmarks": ["old"]})
        staging = runner.staging_of(out)
        os.makedirs(staging)
        runner.all_commands(staging, self.plan, self.build)
        self.assertEqual(files.read(out, files.PHASES), {"benchmarks": ["old"]})
        runner.move_into_place(staging, out)
        self.assertNotEqual(files.read(out, files.PHASES), {"benchmarks": ["old"]})
        self.assertFalse(os.path.exists(staging))
        machine = files.read(out, files.MACHINE)
        self.assertEqual(machine["round_trip"][0]["ns"], 2.0)
        # The chase over half the cache before each round, once a round
        # however often the outputs are put together.
        rounds = sorted({c.round for c in self.plan.first_pass() + self.plan.second_pass([])
                         if c.times})
        self.assertEqual([(p["round"], p["bytes"], len(p["laps_ns"]))
                          for p in machine["cache_probe"]],
                         [(r, 1 << 19, 20) for r in rounds])


if __name__ == "__main__":
    unittest.main()
