"""The benchmark report's arithmetic and the count guard: verdicts, target
outcomes, the parsing of Google Benchmark's JSON and of callgrind's totals,
and the comparison with the count baseline."""
import importlib.util
import os
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis import targets, where  # noqa: E402
from reporting.analysis.stats import Ratio  # noqa: E402
from reporting.commands import counts  # noqa: E402
from reporting.model import files  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.model.goals import TIME, Goal  # noqa: E402
from reporting.model.timings import Timings  # noqa: E402
from reporting.sections import tables  # noqa: E402
from report_fixtures import contender, goal  # noqa: E402


# Two programs' lists as the bench programs print them: a kind with orders,
# a kind without, a peer, the unordered reference and the floor.
CATALOG = Catalog([
    {"program": "map_phases_bench", "seed": 7, "program_order": 3, "batch": 10,
     "largest_random_array_fill": 100, "sizes": [1000],
     "contenders": [contender("Tree_16", "ours", "peer_tree", "Tree", 16),
                    contender("Tree_64", "ours", "peer_tree", "Tree", 64),
                    contender("Flat", "ours", "peer_tree", "Flat"),
                    contender("peer_tree", "peer"), contender("hashed", "unordered"),
                    contender("floor", "floor")],
     "suites": [{"name": "find", "unit": "operation", "largest_array": 100},
                {"name": "mix", "unit": "operation", "largest_array": 100}],
     "targets": {"sizes": [1000, 5000], "goals": [
         goal("Tree", "find", 0.9),
         goal("Flat", "find", 1.0)]}},
    {"program": "map_workloads_bench", "contenders": [], "context": {"key_generator": "g"},
     "suites": [{"name": "fifo", "unit": "step", "largest_array": 100}]},
])


def run(name, ns_per_op, repetition=0):
    return {"run_name": name, "run_type": "iteration", "repetition_index": repetition,
            "items_per_second": 1e9 / ns_per_op}


class OutcomeTest(unittest.TestCase):
    def test_a_timed_goal_is_met_missed_or_undecided_by_its_whole_interval(self):
        self.assertEqual(targets.outcome(0.6, 0.7, Ratio(0.6, 0.55, 0.66)), "met")
        self.assertEqual(targets.outcome(0.6, 0.7, Ratio(0.6, 0.5, 0.72)), "undecided")
        self.assertEqual(targets.outcome(0.8, 0.7, Ratio(0.8, 0.75, 0.85)), "missed")
        self.assertEqual(targets.outcome(1.02, 1.0, Ratio(1.02, 0.97, 1.05)), "undecided")
        self.assertEqual(targets.outcome(0.98, 1.0, Ratio(0.98, 0.9, 1.0)), "met")

    def test_counts_and_weights_carry_no_interval(self):
        self.assertEqual(targets.outcome(1.0, 1.0), "met")
        self.assertEqual(targets.outcome(1.01, 1.0), "missed")
        self.assertEqual(targets.outcome(None, 1.0), "not measured")

    def test_too_few_repetitions_give_no_interval(self):
        self.assertEqual(targets.outcome(0.5, 0.7, Ratio(0.5)), "no interval")


class TimingsTest(unittest.TestCase):
    def setUp(self):
        self.timings = Timings([{
            "benchmarks": [
                run("find/Tree_16/1000", 30), run("find/Tree_16/1000", 32, 1),
                run("find/Tree_64/1000", 20), run("find/Tree_64/1000", 22, 1),
                run("find/Flat/1000", 40), run("find/Flat/1000", 41, 1),
                run("find/peer_tree/1000", 25), run("find/hashed/1000", 5),
                {"run_name": "find/Tree_64/1000", "run_type": "aggregate",
                 "items_per_second": 1.0},
            ]}], CATALOG)

    def test_repetitions_are_kept_and_aggregates_ignored(self):
        self.assertEqual(len(self.timings.samples[("find", "Tree_64", 1000)]), 2)
        self.assertAlmostEqual(self.timings.median("find", "Tree_64", 1000), 21)

    def test_a_kind_with_orders_is_judged_at_its_best_order(self):
        self.assertEqual(where.best_variant(self.timings, "find", "Tree", 1000), "Tree_64")
        self.assertEqual(where.best_variant(self.timings, "find", "Flat", 1000), "Flat")
        self.assertIsNone(where.best_variant(self.timings, "mix", "Tree", 1000))

    def test_a_kind_is_judged_on_the_variant_chosen_before_the_run_where_it_was_timed(self):
        def judged_name(standing):
            self.timings.standing = standing
            return targets.judge(self.timings, None, None, Goal("Tree", "peer_tree", "find",
                                                                TIME, 0.9), 1000).name

        self.assertEqual(judged_name({("Tree", "find", 1000): "Tree_16"}), "Tree_16")
        # The best median where none was chosen, or the chosen one was not timed.
        self.assertEqual(judged_name({}), "Tree_64")
        self.assertEqual(judged_name({("Tree", "find", 1000): "Tree_256"}), "Tree_64")

    def test_the_variants_a_run_judged_are_what_a_later_run_is_judged_on(self):
        def judged_names(folder):
            results = files.Results(folder, CATALOG)
            return [t.name for t in targets.judge_all(results.judged(), None, None)]

        phases = {"benchmarks": [
            run("find/Tree_16/1000", 30 + r, r) for r in range(3)] + [
            run("find/Tree_64/1000", 20 + r, r) for r in range(3)] + [
            run("find/peer_tree/1000", 25 + r, r) for r in range(3)]}
        with tempfile.TemporaryDirectory() as earlier, tempfile.TemporaryDirectory() as later:
            files.write(earlier, files.PHASES, phases)
            chosen = targets.standing(files.Results(earlier, CATALOG))
            self.assertEqual(chosen, [{"kind": "Tree", "suite": "find", "measure": "find",
                                       "n": 1000, "name": "Tree_64"}])
            # In the later run Tree_16 has the better median, by chance.
            for entry in phases["benchmarks"][:3]:
                entry["items_per_second"] *= 2
            files.write(later, files.PHASES, phases)
            self.assertEqual(judged_names(later), ["Tree_16"])
            files.write(later, files.STANDING, chosen)
            self.assertEqual(judged_names(later), ["Tree_64"])

    def test_the_fastest_peer_is_ordered(self):
        self.assertEqual(where.fastest(self.timings, "find", 1000, ours=True), "Tree_64")
        self.assertEqual(where.fastest(self.timings, "find", 1000, ours=False), "peer_tree")

    def test_maps_are_listed_in_the_catalog_order(self):
        self.assertEqual(self.timings.names("find"),
                         ["Tree_16", "Tree_64", "Flat", "peer_tree", "hashed"])

    def test_every_goal_of_every_kind_is_judged_at_the_measured_target_size(self):
        self.assertEqual(targets.judged_sizes(self.timings), [1000])
        rows = tables.targets_table(self.timings, None, None)[2:]
        self.assertEqual(len(rows), 2)
        self.assertTrue(rows[0].startswith("| Tree_64 | peer_tree | find time | 1e3 | 0.84, "))
        self.assertTrue(rows[1].startswith("| Flat | peer_tree | find time | 1e3 | 1.62, "))

    def test_the_where_table_has_a_column_per_kind_and_the_unordered_reference(self):
        table = tables.where_table(self.timings, ["find"])
        self.assertEqual(table[0], "| workload | n | Tree ns/op | Flat ns/op | fastest of ours "
                                   "| fastest ordered peer | ns/op | ratio | verdict "
                                   "| hashed ns/op |")
        self.assertEqual(table[2], "| find | 1e3 | 21.0 (64) | 40.5 | Tree_64 | peer_tree | 25.0 "
                                   "| 0.84 | untested (one run) | 5.00 |")

    def test_repetitions_are_told_per_size(self):
        self.assertEqual(tables.repetition_text(self.timings, "find"), "2 repetitions")


class CatalogTest(unittest.TestCase):
    def test_kinds_and_their_variants_come_from_the_lists(self):
        self.assertEqual(CATALOG.kinds(), ["Tree", "Flat"])
        self.assertEqual(CATALOG.variants("Tree"), ["Tree_16", "Tree_64"])
        self.assertTrue(CATALOG.takes_order("Tree"))
        self.assertFalse(CATALOG.takes_order("Flat"))
        self.assertEqual(CATALOG.suites_of("map_workloads_bench"), ["fifo"])
        self.assertEqual(CATALOG.facts["key_generator"], "g")

    def test_patterns_select_in_the_catalog_order_and_unknown_ones_are_refused(self):
        names = list(CATALOG.contenders)
        self.assertEqual(CATALOG.select(["peer_tree", "Tree_*"], names),
                         ["Tree_16", "Tree_64", "peer_tree"])
        with self.assertRaisesRegex(ValueError, "'Skip' matches none of: Tree_16"):
            CATALOG.select(["Skip"], names)

    def test_a_saved_catalog_reads_back_the_same(self):
        again = Catalog.from_json(CATALOG.to_json())
        self.assertEqual(again.to_json(), CATALOG.to_json())


class HugePagesTest(unittest.TestCase):
    def test_the_table_gives_both_medians_and_the_ratio_with_over_without(self):
        def timings(ns):
            return Timings([{"benchmarks": [run("find/Tree_64/1000000", v, i)
                                            for i, v in enumerate(ns)]}], CATALOG)
        lines = tables.huge_page_tables(timings([110]), timings([60]), ["find"])
        self.assertEqual(lines[-1], "| Tree_64 | 110.0 / 60.0 | 0.55, untested |")


# A workload list with a scan suite, a map that cannot scan, and a goal on
# the scan at a size of its own.
SCAN_CATALOG = Catalog([{
    "program": "map_workloads_bench",
    "contenders": [dict(contender("Tree_16", "ours", "peer_tree", "Tree", 16), scans=True),
                   dict(contender("peer_tree", "peer"), scans=True),
                   dict(contender("hashed", "unordered"), scans=False)],
    "suites": [{"name": "fifo", "unit": "step", "largest_array": 100, "scans": False},
               {"name": "walk", "unit": "visited entry", "largest_array": 100,
                "scans": True},
               {"name": "short_scan", "unit": "scan", "largest_array": 100, "scans": True}],
    "targets": {"sizes": [1000], "goals": [
        goal("Tree", "walk", 1.0, sizes=[1000, 1000000])]}}])


class ScanReportTest(unittest.TestCase):
    def setUp(self):
        scan = dict(run("short_scan/Tree_16/1000", 100), entries_per_scan=50.0)
        self.timings = Timings([{"benchmarks": [
            run("walk/Tree_16/1000", 2), run("walk/peer_tree/1000", 4),
            run("walk/Tree_16/1000000", 5), run("walk/peer_tree/1000000", 4),
            run("fifo/hashed/1000", 9), scan]}], SCAN_CATALOG)

    def test_only_scan_suites_leave_out_the_maps_without_a_scan(self):
        self.assertEqual(SCAN_CATALOG.without_scan("walk"), ["hashed"])
        self.assertEqual(SCAN_CATALOG.without_scan("fifo"), [])

    def test_the_tables_say_no_scan_rather_than_leave_the_map_out(self):
        where = tables.where_table(self.timings, ["walk"])
        self.assertTrue(where[2].endswith("| no scan |"))
        text = "\n".join(tables.timing_tables(self.timings, ["walk"]))
        self.assertIn("walk: ns per visited entry", text)
        self.assertIn("No ordered scan, so not measured: hashed.", text)

    def test_short_scans_are_also_given_per_visited_entry(self):
        lines = tables.timing_tables(self.timings, ["short_scan"])
        self.assertIn("#### short_scan: ns per visited entry (50.0 entries per scan on average)",
                      lines)
        self.assertIn("| Tree_16 | 2.00 |  |", lines)

    def test_a_goal_with_sizes_of_its_own_is_judged_there(self):
        rows = tables.targets_table(self.timings, None, None)[2:]
        self.assertEqual([r.split(" | ")[3] for r in rows], ["1e3", "1e6"])
        self.assertIn("| 1.25, untested (one run; 5.00 vs 4.00 ns) |", rows[1])


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
        self.assertIn("-5.0%", rows[3])
        _, failed = counts.compare_to_baseline({"BTree_64": {"find": 103.1, "mix": 200.0}},
                                               baseline)
        self.assertEqual(failed, 1)
        rows, failed = counts.compare_to_baseline({"SkipList": {"find": 1.0, "mix": 1.0}},
                                                  baseline)
        self.assertEqual(failed, 2)
        self.assertIn("NO BASELINE", rows[2])


if __name__ == "__main__":
    unittest.main()
