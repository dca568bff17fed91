"""The report's analysis on saved results (tests/fixtures/report, written
as the bench programs write them): every goal judged with the outcome its
figures give, which map is fastest where, and the report put together
from them."""
import importlib.util
import os
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis.targets import judge_all  # noqa: E402
from reporting.analysis.where import largest_rows, where_rows  # noqa: E402
from reporting.model import files  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.sections import document  # noqa: E402

FIXTURES = os.path.join(ROOT, "tests", "fixtures", "report")


def load():
    catalog = Catalog.from_json(files.read(FIXTURES, files.LIST))
    return files.Results(FIXTURES, catalog)


class SavedResultsTest(unittest.TestCase):
    def test_every_file_joins_its_group(self):
        results = load()
        self.assertEqual(results.timings.suites, ["find", "mix"])
        self.assertEqual(results.workloads.suites, ["fifo"])
        self.assertEqual(results.latency.repetitions, 5)
        self.assertEqual(len(results.timings.samples[("find", "Tree_64", 1000)]), 5)
        self.assertIsNone(results.huge)
        self.assertIn("mix_latency_p99.9", results.judged().suites)


class JudgedTargetsTest(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        cls.results = load()
        cls.targets = judge_all(cls.results.judged(), cls.results.memory, cls.results.counts)

    def test_each_goal_is_judged_on_its_best_variant_with_its_outcome(self):
        judged = {(t.name, t.measure, t.n): ("%.2f" % t.ratio, t.outcome) for t in self.targets}
        self.assertEqual(judged, {
            # 22 against 40 ns, every repetition apart: better, within 0.9
            ("Tree_64", "find", 1000): ("0.55", "met"),
            # the best order's interval, [0.94, 1.12], straddles the goal
            ("Tree_16", "mix", 1000): ("1.03", "undecided"),
            ("Tree_64", "bytes", 1000): ("0.80", "met"),
            # counts carry no noise: 260 against 250 misses a goal of 1.0
            ("Tree_64", "find_instructions", 1000): ("1.04", "missed"),
            # a goal at a size of its own, on a percentile of the latency runs
            ("Tree_64", "mix_latency_p99.9", 1000000): ("0.70", "met"),
            # the whole interval, [0.97, 1.09], lies beyond 0.9
            ("Flat", "find", 1000): ("1.03", "missed"),
            ("Flat", "mix", 1000): ("1.33", "missed"),
        })

    def test_timed_targets_carry_their_comparison(self):
        find = next(t for t in self.targets if t.measure == "find" and t.name == "Tree_64")
        self.assertEqual(find.comparison.verdict, "better")
        self.assertLess(find.comparison.p, 0.05)
        bytes_ = next(t for t in self.targets if t.measure == "bytes")
        self.assertIsNone(bytes_.comparison)
        self.assertEqual((bytes_.mine, bytes_.theirs), (18.0, 22.5))

    def test_which_map_where_sets_our_fastest_against_the_fastest_ordered_peer(self):
        workloads = self.results.workloads
        (suite, n, kinds, c), = where_rows(workloads, ["fifo"])
        self.assertEqual((suite, n), ("fifo", 1000))
        self.assertEqual(kinds, {"Tree": (27, "Tree_64"), "Flat": (92, "Flat")})
        self.assertEqual((c.ours, c.peer, c.verdict), ("Tree_64", "peer_tree", "better"))
        self.assertEqual(largest_rows(workloads, ["fifo"])["fifo"][0], 1000)

    def test_the_report_shows_each_judged_target_and_the_machine(self):
        text = "\n".join(document.markdown(self.results, document.Pictures()))
        self.assertIn("| Tree_64 | peer_tree | find time | 1e3 | 0.55 [0.50, 0.60], better "
                      "(p<0.001; 22.0 vs 40.0 ns) | ≤ 0.9 | met |", text)
        self.assertIn("| Tree_64 | peer_tree | mix p99.9 latency | 1e6 | 0.70 [0.70, 0.70], better",
                      text)
        self.assertIn("(L1 Data 48 KiB, L2 Unified 2048 KiB)", text)
        self.assertIn("| fifo | 1e3 | 27.0 (64) | 92.0 | Tree_64 | peer_tree | 52.0 | "
                      "0.52 [0.48, 0.56] | better (p<0.001) |", text)


if __name__ == "__main__":
    unittest.main()


class MachineTest(unittest.TestCase):
    def test_runs_the_host_or_other_tasks_took_much_from_are_named(self):
        from reporting.analysis.interference import disturbed
        records = {("find", "Tree_64", 1000): [
            {"seconds": 0.5, "steal": 0.2, "others": 0.0},   # the host stole 20 %
            {"seconds": 0.05, "steal": 0.5, "others": 0.0},  # too short to tell
            {"seconds": 1.0, "steal": 0.0, "others": 0.3},   # other tasks took 30 %
            {"seconds": 1.0, "steal": 0.05, "others": 0.1}]}
        self.assertEqual([d.repetition for d in disturbed(records)], [0, 2])

    def test_a_percentile_the_machines_interruptions_reach_is_not_judged(self):
        from reporting.model.latency import Latency
        catalog = Catalog.from_json(files.read(FIXTURES, files.LIST))
        runs = files.read(FIXTURES, files.LATENCY)
        for document in runs:
            for run in document["runs"]:
                # 2 interrupts in 1000 calls: 0.2 % of the calls, beyond p99.9
                run["machine"] = {"interrupts": 2, "involuntary_switches": 0}
        latency = Latency(runs, catalog)
        self.assertTrue(latency.reached("mix_latency", "Tree_64", 1000000, "99.9"))
        self.assertFalse(latency.reached("mix_latency", "Tree_64", 1000000, "99"))
        results = load()
        results.latency = latency
        target = next(t for t in judge_all(results.judged(), results.memory, results.counts,
                                           results.reached) if "latency" in t.measure)
        self.assertEqual(target.outcome, "the machine's")
