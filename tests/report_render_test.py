"""What the report says of a comparison and what its figures draw: the
wording of a ratio with its interval and verdict, the table writer, the
data behind the figures of ratios, which must carry each interval the
right way round, and the mark of the machine's reach on a tail."""
import math
import os
import sys
import tempfile
import unittest
from types import SimpleNamespace

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis.comparison import Comparison  # noqa: E402
from reporting.model import files  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.model.goals import (BYTES, INSTRUCTIONS, L1_MISSES, PERCENTILE, TIME,  # noqa: E402
                                   Goal)
from reporting.model.latency import Latency  # noqa: E402
from reporting.model.machine import Machine  # noqa: E402
from reporting.model.timings import Timings  # noqa: E402
from reporting.render import figures, table, text  # noqa: E402
from reporting.sections import round_trips  # noqa: E402

FAST = [50, 51, 52, 53, 54]
SLOW = [100, 101, 102, 103, 104]
FIXTURES = os.path.join(ROOT, "tests", "fixtures", "report")


def read_rows(path):
    with open(path) as data:
        return [line.split() for line in data]


class WordingTest(unittest.TestCase):
    def test_a_ratio_reads_with_its_interval_verdict_test_and_medians(self):
        comparison = Comparison("ours", "peer", FAST, SLOW)
        self.assertEqual(comparison.verdict, "better")
        self.assertEqual(text.comparison_text(comparison),
                         "0.51 [0.49, 0.53], better (p<0.001; 52.0 vs 102.0 ns)")
        self.assertEqual(Comparison("ours", "peer", SLOW, FAST).verdict, "worse")

    def test_overlapping_samples_tie_and_one_run_is_untested(self):
        self.assertEqual(Comparison("a", "b", FAST, list(reversed(FAST))).verdict, "tie")
        single = Comparison("a", "b", [50], [100])
        self.assertEqual(text.ratio_verdict(single), "0.50, untested")
        self.assertEqual(text.verdict_text(single), "untested (one run)")

    def test_numbers_sizes_and_measures(self):
        self.assertEqual([text.ns(41.25), text.ns(0.456)], ["41.2", "0.46"])
        self.assertEqual([text.size_label(n) for n in (10000, 12345)], ["1e4", "12345"])
        self.assertEqual(text.sizes_text([1000, 1000000]), "1e3 and 1e6")
        goals = [Goal("Tree", "peer_tree", suite, statistic, 1.0, (), q)
                 for suite, statistic, q in (("find", TIME, None), ("fill", BYTES, None),
                                             ("mix", INSTRUCTIONS, None),
                                             ("find", L1_MISSES, None),
                                             ("mix", PERCENTILE, 99.9))]
        self.assertEqual([text.goal_text(g) for g in goals],
                         ["find time", "heap bytes per entry", "mix instructions/op",
                          "find L1 misses/op", "mix p99.9 latency"])

    def test_a_table_right_aligns_its_numeric_columns(self):
        rows = [["map", "ns", "ratio"], ["a", "1.0", "0.5"]]
        self.assertEqual(table.markdown_table(rows, table.numeric_from(1, rows)),
                         ["| map | ns | ratio |", "| --- | ---: | ---: |", "| a | 1.0 | 0.5 |"])


CATALOG = Catalog([{
    "program": "map_phases_bench",
    "contenders": [{"name": "Tree_64", "role": "ours", "peer": "peer_tree", "kind": "Tree",
                    "order": 64, "quadratic_fill": False},
                   {"name": "peer_tree", "role": "peer", "peer": "", "kind": "", "order": 0,
                    "quadratic_fill": False}],
    "suites": [{"name": "find", "unit": "operation", "largest_array": 100}]}])


def timings(ns_by_map, n=1000000):
    return Timings([{"benchmarks": [
        {"run_name": "find/%s/%d" % (name, n), "run_type": "iteration", "repetition_index": i,
         "items_per_second": 1e9 / value}
        for name, values in ns_by_map.items() for i, value in enumerate(values)]}], CATALOG)


class FigureDataTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.plot = figures.Plot(self.folder.name)

    def tearDown(self):
        self.folder.cleanup()

    def data(self, name):
        return read_rows(os.path.join(self.folder.name, "figures-data", name + ".dat"))

    def test_huge_pages_draw_time_with_over_time_without_between_its_interval(self):
        normal = timings({"Tree_64": SLOW, "peer_tree": SLOW})
        huge = timings({"Tree_64": FAST, "peer_tree": SLOW})
        figures.huge_pages_figure(self.plot, normal, huge, ["find"], 1000000)
        rows = {row[0]: [float(x) for x in row[1:]] for row in self.data("huge-pages")}
        estimate, low, high = rows["Tree_64"]
        self.assertAlmostEqual(estimate, 52 / 102, places=3)
        self.assertLess(low, estimate)
        self.assertLess(estimate, high)
        self.assertLess(high, 1.0)
        self.assertLessEqual(rows["peer_tree"][1], 1.0)
        self.assertGreaterEqual(rows["peer_tree"][2], 1.0)
        self.assertIn("errorbars", "\n".join(self.plot.script))

    def test_each_target_is_drawn_at_its_ratio_between_its_bounds_beside_its_goal(self):
        def goal(suite, statistic, limit):
            return Goal("Tree", "peer_tree", suite, statistic, limit)
        met = SimpleNamespace(name="Tree_64", goal=goal("find", TIME, 0.8), n=1000000,
                              comparison=Comparison("Tree_64", "peer_tree", FAST, SLOW))
        untested = SimpleNamespace(name="Tree_64", goal=goal("mix", TIME, 1.0), n=1000000,
                                   comparison=Comparison("Tree_64", "peer_tree", [90], [100]))
        count = SimpleNamespace(name="Tree_64", goal=goal("fill", BYTES, 1.0), n=1000000,
                                comparison=None)
        figures.targets_figure(self.plot, [met, untested, count])
        rows = self.data("targets")
        self.assertEqual([row[1] for row in rows], ['"Tree_64', '"Tree_64'])
        first_drawn_on_top = rows[-1]
        estimate, low, high, goal = (float(x) for x in first_drawn_on_top[-4:])
        self.assertTrue(low < estimate < high < goal)
        for drawn, expected in zip(rows[0][-4:], [0.9, 0.9, 0.9, 1.0]):
            self.assertAlmostEqual(float(drawn), expected)
        self.assertEqual(self.plot.drawn["targets.png"], ["Tree_64", "Tree_64"])

    def reach_marks(self, interrupts):
        runs = files.read(FIXTURES, files.LATENCY)
        for document in runs:
            for run in document["runs"]:
                run["machine"] = {"interrupts": interrupts, "involuntary_switches": 0}
        latency = Latency(runs, Catalog.from_json(files.read(FIXTURES, files.LIST)))
        plot = figures.Plot(self.folder.name)
        figures.percentile_figure(plot, latency, "mix_latency", 1000000)
        return [line for line in plot.script if line.startswith("set arrow")]

    def test_the_machines_reach_is_marked_where_its_interruptions_could_make_the_tail(self):
        # 2 interrupts in 1000 calls could make up the slowest 0.2 %: the
        # mark lies between p99 (x = 2) and p99.9 (x = 3).
        mark = self.reach_marks(2)
        self.assertEqual(len(mark), 1)
        self.assertIn("first %g," % -math.log10(0.002), mark[0])
        self.assertEqual(self.reach_marks(0), [])


class RoundTripTest(unittest.TestCase):
    # Dependent finds of two maps at 1e6 and 1e7, and the machine's round
    # trip at 1e4 (no finds there) and at both.
    MACHINE = Machine({"round_trip": [{"n": 10000, "bytes": 320000, "ns": 3.9},
                                      {"n": 1000000, "bytes": 32000000, "ns": 160.0},
                                      {"n": 10000000, "bytes": 320000000, "ns": 230.0}]})

    def setUp(self):
        runs = [("Tree_64", 1000000, [300, 320, 340]), ("Tree_64", 10000000, [460]),
                ("peer_tree", 1000000, [500]), ("peer_tree", 10000000, [2300])]
        self.finds = Timings([{"benchmarks": [
            {"run_name": "dependent_find/%s/%d" % (name, n), "run_type": "iteration",
             "items_per_second": 1e9 / v} for name, n, values in runs for v in values]}],
            Catalog([{"program": "map_workloads_bench", "contenders": CATALOG.to_json()[
                "contenders"], "suites": [{"name": "dependent_find", "unit": "operation",
                                          "largest_array": 100}]}]))

    def test_a_dependent_find_reads_in_round_trips_at_its_size(self):
        self.assertEqual(text.round_trip_text(460, 230), "460.0 ns, 2.0 round trips of 230.0 ns")
        rows = round_trips.round_trip_table(self.finds, self.MACHINE, [1000000, 10000000])
        self.assertEqual(rows[2], "| Tree_64 | 320.0 ns, 2.0 round trips of 160.0 ns | "
                                  "460.0 ns, 2.0 round trips of 230.0 ns |")
        self.assertIn("2300.0 ns, 10.0 round trips of 230.0 ns", rows[3])

    def test_readme_shows_the_sizes_from_1e6_where_both_were_measured(self):
        lines = round_trips.readme_lines(self.finds, self.MACHINE)
        self.assertEqual(lines[3], "| map | n=1e6 | n=1e7 |")
        self.assertEqual(round_trips.readme_lines(self.finds, Machine({})), [])

    def test_the_figure_draws_round_trips_against_n(self):
        with tempfile.TemporaryDirectory() as folder:
            plot = figures.Plot(folder)
            figures.round_trip_figure(plot, self.finds, self.MACHINE.round_trips())
            self.assertEqual(plot.drawn["round_trips.png"], ["Tree_64", "peer_tree"])
            rows = read_rows(os.path.join(folder, "figures-data", "round-trips-peer_tree.dat"))
            self.assertEqual([[float(x) for x in row] for row in rows],
                             [[1000000, 500 / 160], [10000000, 10.0]])


if __name__ == "__main__":
    unittest.main()
