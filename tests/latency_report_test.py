"""The report's latency section: map_latency's repetitions read into
percentile measures, the cells with their spread, the p99.9 goals and the
"which map where" rows, the structural steps' table, and the plan's runs of
map_latency, map_events and the dependent finds."""
import importlib.util
import os
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.model.catalog import Catalog  # noqa: E402
from reporting.model.goals import PERCENTILE, Goal, percentile_key  # noqa: E402
from reporting.model.latency import Latency  # noqa: E402
from reporting.model.timings import Timings  # noqa: E402
from reporting.render import figures, text  # noqa: E402
from reporting.sections import latency, tables  # noqa: E402


def contender(name, role, peer="", kind="", order=0):
    return {"name": name, "role": role, "peer": peer, "kind": kind, "order": order,
            "quadratic_fill": False}


MAPS = [contender("Tree_16", "ours", "peer_tree", "Tree", 16),
        contender("Tree_64", "ours", "peer_tree", "Tree", 64),
        contender("peer_tree", "peer"), contender("hashed", "unordered")]
DOCUMENTS = [
    {"program": "map_phases_bench", "contenders": MAPS,
     "suites": [{"name": "mix", "unit": "operation", "largest_array": 100}],
     "targets": {"sizes": [1000], "goals": [
         {"kind": "Tree", "peer": "peer_tree", "suite": "mix", "statistic": "percentile",
          "q": 99.9, "limit": 1.0, "sizes": [1000000]}]}},
    {"program": "map_workloads_bench", "contenders": MAPS,
     "suites": [{"name": "fifo", "unit": "step", "largest_array": 100},
                {"name": "independent_find", "unit": "operation", "largest_array": 100},
                {"name": "dependent_find", "unit": "operation", "largest_array": 100}]},
    {"program": "map_latency", "contenders": MAPS,
     "suites": [{"name": "mix_latency", "unit": "operation", "largest_array": 100},
                {"name": "fifo_latency", "unit": "operation", "largest_array": 100}]},
]
CATALOG = Catalog(DOCUMENTS)


def latency_run(name, p999, scale=1.0):
    percentiles = {p: scale * float(p) for p in ("50", "90", "99", "99.99")}
    percentiles["99.9"] = p999
    return {"name": name, "operations": 1000, "percentiles": percentiles, "min": 1.0,
            "max": 500.0 * scale}


def document(p999s):
    """One repetition: the mix at 1e6 of each map with its p99.9."""
    return {"ticks_per_ns": 2.0, "invariant_tsc": True, "operations": 1000,
            "timer": {"percentiles": {"50": 20.0, "99": 22.0}},
            "runs": [latency_run("mix_latency/%s/1000000" % name, p999)
                     for name, p999 in p999s.items()] +
            [latency_run("fifo_latency/Tree_64/1000", 70.0),
             latency_run("fifo_latency/peer_tree/1000", 90.0)]}


class LatencyTest(unittest.TestCase):
    def setUp(self):
        self.latency = Latency([
            document({"Tree_16": 300.0, "Tree_64": 100.0 + r, "peer_tree": 200.0 + r,
                      "hashed": 50.0}) for r in range(5)], CATALOG)

    def test_each_percentile_is_a_measure_with_a_value_per_repetition(self):
        samples = self.latency.timings.samples
        self.assertEqual(samples[("mix_latency_p99.9", "Tree_64", 1000000)],
                         [100.0, 101.0, 102.0, 103.0, 104.0])
        self.assertEqual(samples[("mix_latency_max", "peer_tree", 1000000)], [500.0] * 5)
        self.assertEqual(self.latency.suites, ["mix_latency", "fifo_latency"])
        self.assertEqual(text.timer_text(self.latency), "timer 20.0 ns")

    def test_a_cell_is_the_median_and_half_the_range(self):
        self.assertEqual(latency.cell([100.0, 110.0, 90.0]), "100.0 ±10%")
        self.assertEqual(latency.cell([7.0]), "7.00")

    def test_the_p999_goal_is_judged_on_the_best_order_against_the_peer(self):
        rows = tables.targets_table(self.latency.timings, None, None)
        self.assertEqual(len(rows), 3)
        cells = rows[2].split(" | ")
        self.assertEqual(cells[:4], ["| Tree_64", "peer_tree", "mix p99.9 latency", "1e6"])
        self.assertTrue(cells[4].startswith("0.50 [0.50, 0.51], better"))
        self.assertEqual(cells[-1], "met |")

    def test_the_tail_table_sets_the_lowest_p999_of_ours_against_the_peers(self):
        table = latency.tail_where_table(self.latency)
        mix = [row for row in table if row.startswith("| mix | 1e6 |")][0]
        self.assertIn("| 102.0 (64) | Tree_64 | peer_tree | 202.0 | 0.50 [0.50, 0.51] | better", mix)

    def test_the_where_table_gives_the_p999_of_the_two_maps_it_compares(self):
        workloads = Timings([{"benchmarks": [
            {"run_name": "fifo/%s/1000" % name, "run_type": "iteration",
             "items_per_second": 1e9 / value}
            for name, value in (("Tree_64", 10), ("peer_tree", 20), ("hashed", 5))]}], CATALOG)
        table = tables.where_table(
            workloads, ["fifo"], lambda s, m, n: latency.tail_cell(self.latency, s, m, n))
        self.assertIn("p99.9 ns ours / peer", table[0])
        self.assertIn("| 70.0 / 90.0 | 5.00 |", table[2])

    def test_every_percentile_table_lists_every_map_measured(self):
        tables = "\n".join(latency.percentile_tables(self.latency))
        self.assertIn("#### mix_latency, n=1e6: ns per call (timer 20.0 ns)", tables)
        for name in ("Tree_16", "Tree_64", "peer_tree", "hashed"):
            self.assertIn("| %s |" % name, tables)

    def test_the_percentiles_spread_one_unit_per_nine(self):
        self.assertAlmostEqual(figures.xposition("99.9"), 3.0)
        self.assertAlmostEqual(figures.xposition("50"), 0.30103, places=5)


class FindPairTest(unittest.TestCase):
    def test_each_map_has_both_forms_at_every_size_and_a_missing_form_leaves_a_gap(self):
        def timed(suite, name, n, value):
            return {"run_name": "%s/%s/%d" % (suite, name, n), "run_type": "iteration",
                    "items_per_second": 1e9 / value}
        workloads = Timings([{"benchmarks": [
            timed("independent_find", "Tree_64", 1000, 20), timed("dependent_find", "Tree_64",
                                                                  1000, 45),
            timed("independent_find", "Tree_64", 1000000, 150),
            timed("dependent_find", "Tree_64", 1000000, 280),
            timed("dependent_find", "peer_tree", 1000, 60)]}], CATALOG)
        rows = latency.find_pair_table(workloads)
        self.assertEqual(rows[0], "| map | n=1e3 indep. / dep. | n=1e6 indep. / dep. |")
        self.assertEqual(rows[2], "| Tree_64 | 20.0 / 45.0 | 150.0 / 280.0 |")
        self.assertEqual(rows[3], "| peer_tree |  |  |")

    def test_a_latency_goal_reads_as_its_workload_and_percentile(self):
        goal = Goal("Tree", "peer_tree", "mix", PERCENTILE, 1.0, (1000000,), 99.9)
        self.assertEqual(text.goal_text(goal), "mix p99.9 latency")
        self.assertEqual((goal.run_suite, goal.key), ("mix_latency", "mix_latency_p99.9"))
        self.assertEqual(percentile_key("fifo_latency", "max"), "fifo_latency_max")


class EventsTableTest(unittest.TestCase):
    def test_each_step_and_the_calls_without_one_have_a_row(self):
        def step(share, slow, tail, p50, mean=None):
            shares = {"share": share, "slow_share": slow, "tail_share": tail, "p50": p50}
            if mean is not None:
                shares.update(mean=mean, slow_mean=10 * mean)
            return shares
        events = {"runs": [
            {"name": "mix/Tree_64/1000000", "calls": 1000, "p50": 300.0, "p99": 700.0,
             "page_faults": 0, "events": {"split": step(0.003, 0.25, 0.5, 900.0, 0.003),
                                          "none": step(0.997, 0.75, 0.5, 290.0)}},
            {"name": "mix/ListMap/1000", "calls": 1000, "p50": 90.0, "p99": 200.0,
             "page_faults": 3, "events": {"none": step(1.0, 1.0, 1.0, 90.0)}}]}
        rows = latency.events_table(events)
        self.assertEqual(len(rows), 5)
        self.assertIn("| mix | Tree_64 | 1e6 | 300.0 | 700.0 | 0 | split | 0.30 % | 25.0 % | "
                      "50.0 % | 900.0 | 0.003 | 0.03 |", rows[2])
        self.assertTrue(rows[3].endswith("| none | 99.70 % | 75.0 % | 50.0 % | 290.0 |  |  |"))
        self.assertIn("| ListMap | 1e3 | 90.0 | 200.0 | 3 | none |", rows[4])


if __name__ == "__main__":
    unittest.main()
