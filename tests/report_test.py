"""The benchmark report's arithmetic and the count guard: verdicts, target
outcomes, the parsing of Google Benchmark's JSON and of callgrind's totals,
and the comparison with the count baseline."""
import importlib.machinery
import importlib.util
import os
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting import markdown  # noqa: E402
from reporting.results import Comparison, Timings  # noqa: E402


def load_counts():
    loader = importlib.machinery.SourceFileLoader("counts", os.path.join(ROOT, "bench", "counts"))
    found = importlib.util.spec_from_loader("counts", loader)
    module = importlib.util.module_from_spec(found)
    loader.exec_module(module)
    return module


counts = load_counts()


def run(name, ns_per_op, repetition=0):
    return {"run_name": name, "run_type": "iteration", "repetition_index": repetition,
            "items_per_second": 1e9 / ns_per_op}


class ComparisonTest(unittest.TestCase):
    def test_a_significant_difference_is_better_or_worse_by_its_direction(self):
        significant = lambda a, b: 0.01  # noqa: E731
        self.assertEqual(Comparison("m", "p", [1, 2, 3], [4, 5, 6], significant).verdict,
                         "better")
        self.assertEqual(Comparison("m", "p", [4, 5, 6], [1, 2, 3], significant).verdict,
                         "worse")

    def test_an_insignificant_difference_is_a_tie_with_both_medians(self):
        comparison = Comparison("m", "p", [10, 30, 20], [40, 50, 60], lambda a, b: 0.05)
        self.assertEqual(comparison.verdict, "tie")
        self.assertIn("20.0 vs 50.0 ns", comparison.text())
        self.assertAlmostEqual(comparison.ratio, 0.4)

    def test_single_runs_are_not_tested(self):
        comparison = Comparison("m", "p", [1], [2], lambda a, b: self.fail("tested"))
        self.assertEqual(comparison.verdict, "untested")

    @unittest.skipUnless(importlib.util.find_spec("scipy"), "scipy is not installed")
    def test_scipy_separates_five_against_five(self):
        self.assertEqual(Comparison("m", "p", [1, 2, 3, 4, 5], [6, 7, 8, 9, 10]).verdict,
                         "better")
        self.assertEqual(Comparison("m", "p", [1, 6, 3, 8, 5], [2, 7, 4, 9, 10]).verdict,
                         "tie")


class OutcomeTest(unittest.TestCase):
    def test_a_goal_below_one_needs_a_significant_win(self):
        self.assertEqual(markdown.outcome(0.6, 0.7, "better"), "met")
        self.assertEqual(markdown.outcome(0.6, 0.7, "tie"), "not met")
        self.assertEqual(markdown.outcome(0.8, 0.7, "better"), "not met")

    def test_a_goal_of_one_is_met_by_a_tie_at_or_below_it(self):
        self.assertEqual(markdown.outcome(0.98, 1.0, "tie"), "met")
        self.assertEqual(markdown.outcome(1.04, 1.0, "tie"), "within noise")
        self.assertEqual(markdown.outcome(1.04, 1.0, "worse"), "not met")

    def test_counts_and_weights_carry_no_verdict(self):
        self.assertEqual(markdown.outcome(1.0, 1.0), "met")
        self.assertEqual(markdown.outcome(1.01, 1.0), "not met")
        self.assertEqual(markdown.outcome(None, 1.0), "not measured")


class TimingsTest(unittest.TestCase):
    def setUp(self):
        self.timings = Timings([{
            "context": {"peers": "BTree_16=absl_btree_map,BTree_64=absl_btree_map"},
            "benchmarks": [
                run("find/BTree_16/1000", 30), run("find/BTree_16/1000", 32, 1),
                run("find/BTree_64/1000", 20), run("find/BTree_64/1000", 22, 1),
                run("find/absl_btree_map/1000", 25), run("find/std_unordered_map/1000", 5),
                {"run_name": "find/BTree_64/1000", "run_type": "aggregate",
                 "items_per_second": 1.0},
            ]}])

    def test_repetitions_are_kept_and_aggregates_ignored(self):
        self.assertEqual(len(self.timings.samples[("find", "BTree_64", 1000)]), 2)
        self.assertAlmostEqual(self.timings.median("find", "BTree_64", 1000), 21)

    def test_orders_come_from_the_benchmark_names(self):
        self.assertEqual(self.timings.orders(), [16, 64])
        self.assertEqual(self.timings.best_btree("find", 1000), "BTree_64")

    def test_the_fastest_peer_is_ordered(self):
        self.assertEqual(self.timings.fastest("find", 1000, ours=True), "BTree_64")
        self.assertEqual(self.timings.fastest("find", 1000, ours=False), "absl_btree_map")

    def test_repetitions_are_told_per_size(self):
        self.assertEqual(markdown.repetition_text(self.timings, "find"), "2 repetitions")


class CountsTest(unittest.TestCase):
    def test_totals_without_their_trailing_zeros_read_as_zero(self):
        with tempfile.NamedTemporaryFile("w", suffix=".out", delete=False) as profile:
            profile.write("events: Ir Dr Dw I1mr D1mr D1mw ILmr DLmr DLmw\n"
                          "summary: 900 9\ntotals: 800 5 4 0 7\n")
        try:
            totals = counts.read_totals(profile.name)
        finally:
            os.unlink(profile.name)
        self.assertEqual(totals["Ir"], 800)
        self.assertEqual(totals["D1mr"], 7)
        self.assertEqual(totals["DLmw"], 0)

    def test_the_guard_fails_above_three_percent_and_without_a_baseline(self):
        baseline = {"BTree_64": {"find": 100.0, "mix": 200.0}}
        rows, failed = counts.compare_to_baseline(
            {"BTree_64": {"find": 102.9, "mix": 190.0}}, baseline)
        self.assertEqual(failed, 0)
        self.assertIn("-5.0%", rows[1])
        _, failed = counts.compare_to_baseline({"BTree_64": {"find": 103.1, "mix": 200.0}},
                                               baseline)
        self.assertEqual(failed, 1)
        rows, failed = counts.compare_to_baseline({"SkipList": {"find": 1.0, "mix": 1.0}},
                                                  baseline)
        self.assertEqual(failed, 2)
        self.assertIn("NO BASELINE", rows[0])


if __name__ == "__main__":
    unittest.main()
