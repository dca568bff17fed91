"""The report's run plan: which processes a mode runs, in which rounds, and
the process design every mode shares: below 1e6 one process a repetition of
all the maps, from 1e6 on one map a process (its fills kept, each suite that
builds its own maps alone), one repetition a process; the second pass, the
huge-page pairs and the latency runs. No program runs."""
import os
import re
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.commands.command import CACHE_PROBE  # noqa: E402
from reporting.commands.plan import INTERLEAVED, SHARE_FILLS, Plan  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from report_fixtures import contender, goal  # noqa: E402


def suite(name, fill="", cold=False):
    return {"name": name, "unit": "operation", "largest_array": 100, "shared_fill": fill,
            "cold_heap": cold, "scans": name == "walk"}


MAPS = [contender("Tree_16", "ours", "peer_tree", "Tree", 16),
        contender("Tree_64", "ours", "peer_tree", "Tree", 64),
        contender("peer_tree", "peer"), contender("hashed", "unordered", scans=False)]
# The phases, the workloads (two fills, suites that build their own maps, a
# cold one) and the latency runs; goals at the target size, at 1e6 and 1e7.
CATALOG = Catalog([
    {"program": "map_phases_bench", "contenders": MAPS, "program_order": 16,
     "suites": [suite("find"), suite("mix")],
     "targets": {"sizes": [1000, 5000], "goals": [
         goal("Tree", "find", 0.9),
         goal("Tree", "walk", 1.0, sizes=[1000000]),
         goal("Tree", "fifo", 1.0, sizes=[10000000]),
         goal("Tree", "mix", 1.0, "percentile", q=99.9, sizes=[1000000])]}},
    {"program": "map_workloads_bench", "contenders": MAPS,
     "suites": [suite("ascending_insert"), suite("ascending_find", "ascending"),
                suite("walk", "random"), suite("fifo", "ascending"),
                suite("cold_insert", cold=True)]},
    {"program": "map_latency", "contenders": MAPS,
     "suites": [suite("mix_latency"), suite("fill_latency")]},
])


def filters(commands):
    return [a for c in commands for a in c.arguments if a.startswith("--benchmark_filter")]


def selects(command, suite, name, n):
    """Whether the process times suite/name/n."""
    if command.program not in ("map_phases_bench", "map_workloads_bench"):
        return False
    sizes = command.arguments[0].split("=")[1].split(",")
    pattern = [a for a in command.arguments if a.startswith("--benchmark_filter=")]
    return str(n) in sizes and bool(pattern) and bool(
        re.search(pattern[0].split("=", 1)[1], "%s/%s/%d" % (suite, name, n)))


def design(plan, suite, name, n):
    """How the first pass times one benchmark: (round, repetitions, the kind
    of process) of each process that times it."""
    return [(c.round, count_of(c), SHARE_FILLS in c.arguments)
            for c in plan.first_pass() if selects(c, suite, name, n)]


def count_of(command):
    repetitions = [a for a in command.arguments if a.startswith("--benchmark_repetitions=")]
    return int(repetitions[0].split("=")[1]) if repetitions else 1


class ModeTest(unittest.TestCase):
    def test_below_1e6_a_round_is_one_process_of_every_map_in_random_order(self):
        plan = Plan(CATALOG, "standard")
        phases = [c for c in plan.first_pass() if c.program == "map_phases_bench"]
        self.assertEqual([c.round for c in phases], [0, 1, 2, 3, 4])
        for command in phases:
            self.assertEqual(command.arguments[:2], (
                "--sizes=1000,5000", "--benchmark_filter=^(find)/(Tree_16|Tree_64|peer_tree)/"))
            self.assertIn(INTERLEAVED, command.arguments)
            self.assertEqual(count_of(command), 1)
            self.assertEqual(command.output.name, "phases.json")

    def test_from_1e6_a_process_times_one_map_and_keeps_its_fills(self):
        plan = Plan(CATALOG, "full", sizes=[1000000], workloads="ascending_insert,ascending_find,"
                    "walk,fifo,cold_insert")
        first = [c for c in plan.first_pass() if c.round == 0 and c.program == "map_workloads_bench"]
        # Each map beside its peer, the peer first; the hash map has none.
        self.assertEqual(filters(first), [
            "--benchmark_filter=^(ascending_find|walk|fifo|cold_insert)/(peer_tree)/",
            "--benchmark_filter=^(ascending_find|walk|fifo|cold_insert)/(Tree_16)/",
            "--benchmark_filter=^(ascending_find|walk|fifo|cold_insert)/(Tree_64)/",
            "--benchmark_filter=^(ascending_insert)/(peer_tree)/",
            "--benchmark_filter=^(ascending_insert)/(Tree_16)/",
            "--benchmark_filter=^(ascending_insert)/(Tree_64)/",
            # The hash map cannot walk.
            "--benchmark_filter=^(ascending_find|fifo|cold_insert)/(hashed)/",
            "--benchmark_filter=^(ascending_insert)/(hashed)/"])
        labels = [c.together for c in first]
        self.assertEqual(labels[:3], [labels[0]] * 3)
        self.assertEqual(labels[3:6], [labels[3]] * 3)
        self.assertNotEqual(labels[0], labels[3])
        self.assertEqual(labels[6:], [None, None])
        self.assertTrue(all(SHARE_FILLS in c.arguments and INTERLEAVED not in c.arguments
                            for c in first))

    def test_at_1e7_too_each_repetition_is_a_process_of_its_own(self):
        # Two repetitions back to back on one fill are near copies.
        plan = Plan(CATALOG, "full", sizes=[10000000], maps="Tree_16", workloads="fifo")
        commands = [c for c in plan.first_pass() if c.program == "map_workloads_bench"]
        self.assertEqual([(c.round, count_of(c)) for c in commands], [(r, 1) for r in range(5)])

    def test_the_full_and_the_standard_mode_time_a_target_alike(self):
        standard, full = Plan(CATALOG, "standard"), Plan(CATALOG, "full")
        for target in (("find", "Tree_64", 1000), ("walk", "peer_tree", 1000000),
                       ("fifo", "Tree_16", 10000000)):
            with self.subTest(target=target):
                self.assertEqual(design(standard, *target), design(full, *target))
        self.assertEqual([r for r, _, _ in design(full, "fifo", "Tree_16", 10000000)],
                         [0, 1, 2, 3, 4])

    def test_the_run_measures_the_round_trip_first_and_weighs_and_counts_last(self):
        commands = Plan(CATALOG, "full", sizes=[1000]).first_pass()
        self.assertEqual((commands[0].program, commands[0].arguments), ("round_trip",
                                                                       ("--sizes=1000",)))
        self.assertEqual([c.output.name for c in commands[-3:]],
                         ["counts.json", "scan_counts.json", "events.json"])
        self.assertTrue(all(not c.times for c in commands[-3:]))
        phases = [c for c in commands if c.program == "map_phases_bench"]
        self.assertIn(("find", "Tree_16", 1000), phases[0].times)

    def test_each_round_of_both_passes_begins_with_a_chase_over_half_the_cache(self):
        undecided = [("find", "Tree_64", "peer_tree", 1000),
                     ("fifo", "Tree_64", "peer_tree", 1000000)]
        plan = Plan(CATALOG, "standard", cache_bytes=32 << 20)
        for commands in (plan.first_pass(), plan.second_pass(undecided)):
            timed = [c for c in commands if c.times]
            probes = [c for c in commands if c.kind == CACHE_PROBE]
            self.assertEqual([c.round for c in probes], sorted({c.round for c in timed}))
            self.assertEqual({c.arguments for c in probes}, {("--sizes=524288", "--laps=20")})
            for probe in probes:  # before every process that times in its round
                self.assertIs(next(c for c in commands if c.round == probe.round and
                                   (c.times or c is probe)), probe)
        plain = Plan(CATALOG, "standard")
        self.assertFalse(any(c.kind == CACHE_PROBE for c in plain.first_pass() +
                             plain.second_pass(undecided)))

    def test_an_aimed_run_has_no_second_pass(self):
        plan = Plan(CATALOG, "full", sizes=[1000])
        self.assertEqual(plan.second_pass([("find", "Tree_64", "peer_tree", 1000)]), [])


class StandardTest(unittest.TestCase):
    def test_goals_beyond_the_target_sizes_time_only_their_suites_and_maps(self):
        plan = Plan(CATALOG, "standard")
        large = [c for c in plan.first_pass() if c.program == "map_workloads_bench"]
        self.assertEqual(sorted(set(filters(large))), [
            "--benchmark_filter=^(fifo)/(Tree_16)/", "--benchmark_filter=^(fifo)/(Tree_64)/",
            "--benchmark_filter=^(fifo)/(peer_tree)/", "--benchmark_filter=^(walk)/(Tree_16)/",
            "--benchmark_filter=^(walk)/(Tree_64)/", "--benchmark_filter=^(walk)/(peer_tree)/"])
        self.assertTrue(all(c.output.name == "workloads_targets.json" for c in large))

    def test_beyond_the_target_sizes_only_the_variant_chosen_before_the_run_is_timed(self):
        standing = [{"kind": "Tree", "suite": suite, "measure": measure, "n": n, "name": "Tree_64"}
                    for suite, measure, n in (("walk", "walk", 1000000),
                                              ("fifo", "fifo", 10000000),
                                              ("mix_latency", "mix_latency_p99.9", 1000000))]
        plan = Plan(CATALOG, "standard", standing=standing)
        commands = plan.first_pass()
        self.assertFalse(any("Tree_16" in a for c in commands for a in c.arguments
                             if c.arguments[0] != "--sizes=1000,5000"))
        latency = [c.arguments[1:3] for c in commands if c.program == "map_latency"]
        self.assertEqual(latency[:2], [("--maps=Tree_64", "--suites=mix_latency"),
                                       ("--maps=peer_tree", "--suites=mix_latency")])

    def test_at_the_target_sizes_too_only_the_chosen_variant_is_timed(self):
        standing = [{"kind": "Tree", "suite": "find", "measure": "find", "n": n, "name": "Tree_64"}
                    for n in (1000, 5000)]
        phases = [c for c in Plan(CATALOG, "standard", standing=standing).first_pass()
                  if c.program == "map_phases_bench"]
        self.assertEqual(set(filters(phases)),
                         {"--benchmark_filter=^(find)/(Tree_64|peer_tree)/"})
        # Not where the choice is known at one of the sizes only.
        phases = [c for c in Plan(CATALOG, "standard", standing=standing[:1]).first_pass()
                  if c.program == "map_phases_bench"]
        self.assertIn("Tree_16", filters(phases)[0])

    def test_undecided_targets_get_more_repetitions_of_what_they_compare(self):
        plan = Plan(CATALOG, "standard")
        commands = plan.second_pass([("find", "Tree_64", "peer_tree", 1000),
                                     ("fifo", "Tree_64", "peer_tree", 1000000),
                                     ("mix_latency", "Tree_64", "peer_tree", 1000000)])
        phases = [c for c in commands if c.program == "map_phases_bench"]
        # Rounds after the first pass's five; the most where a round is cheap.
        self.assertEqual([c.round for c in phases], list(range(5, 13)))
        self.assertEqual(phases[0].output.name, "phases_targets.json")
        self.assertIn("--benchmark_filter=^(find/Tree_64/1000|find/peer_tree/1000)$",
                      phases[0].arguments)
        workloads = [c for c in commands if c.program == "map_workloads_bench"]
        self.assertEqual([(c.round, count_of(c)) for c in workloads],
                         [(r, 1) for r in range(5, 11) for _ in range(2)])
        self.assertEqual(sorted(set(filters(workloads))), [
            "--benchmark_filter=^(fifo)/(Tree_64)/", "--benchmark_filter=^(fifo)/(peer_tree)/"])
        latency = [c for c in commands if c.program == "map_latency"]
        self.assertEqual(len(latency), 2 * 6)

    def test_only_the_full_mode_takes_a_second_look_at_1e7(self):
        fifo = [("fifo", "Tree_64", "peer_tree", 10000000)]
        self.assertEqual(Plan(CATALOG, "standard").second_pass(fifo), [])
        self.assertEqual(len(Plan(CATALOG, "full").second_pass(fifo)), 2 * 4)


class HugePagesTest(unittest.TestCase):
    def test_each_process_runs_without_and_with_huge_pages_alternating_first(self):
        plan = Plan(CATALOG, "full", maps="Tree_16", workloads="find")
        commands = [c for c in plan.first_pass() if c.arguments[0] == "--sizes=1000000"]
        self.assertEqual([(c.round, c.output.name, bool(c.env)) for c in commands[:4]], [
            (0, "phases.json", False), (0, "phases_huge_pages.json", True),
            (1, "phases_huge_pages.json", True), (1, "phases.json", False)])
        self.assertEqual(commands[0].arguments, commands[1].arguments)

    def test_an_aimed_run_pairs_its_largest_size_only_when_asked(self):
        plain = Plan(CATALOG, "standard", sizes=[1000, 100000], workloads="find")
        self.assertFalse(any(c.env for c in plain.first_pass()))
        paired = Plan(CATALOG, "standard", sizes=[1000, 100000], workloads="find",
                      huge_pages=True).first_pass()
        self.assertTrue(all(c.arguments[0] == "--sizes=100000" for c in paired if c.env))
        self.assertTrue(any(c.arguments[0] == "--sizes=1000" for c in paired))


class LatencyTest(unittest.TestCase):
    def test_below_1e6_each_repetition_is_one_process_in_an_order_of_its_own(self):
        plan = Plan(CATALOG, "standard", sizes=[1000], workloads="*_latency")
        commands = [c for c in plan.first_pass() if c.program == "map_latency"]
        self.assertEqual([c.arguments[-1] for c in commands],
                         ["--shuffle=%d" % r for r in range(1, 6)])
        self.assertIn("--suites=mix_latency,fill_latency", commands[0].arguments)
        self.assertEqual(plan.events_arguments(), ["--operations=1000000", "--sizes=1000"])

    def test_from_1e6_a_process_runs_one_map_in_one_suite(self):
        plan = Plan(CATALOG, "standard")
        commands = [c for c in plan.first_pass() if c.program == "map_latency"]
        self.assertEqual(len(commands), 3 * 5)
        self.assertTrue(all(c.arguments[0] == "--sizes=1000000" for c in commands))
        self.assertEqual(commands[0].arguments[1:3], ("--maps=Tree_16", "--suites=mix_latency"))
        self.assertIsNone(plan.events_arguments())

    def test_choosing_other_workloads_leaves_the_latency_runs_out(self):
        plan = Plan(CATALOG, "standard", workloads="fifo")
        self.assertFalse(any(c.program == "map_latency" for c in plan.first_pass()))
        self.assertIsNone(plan.events_arguments())


if __name__ == "__main__":
    unittest.main()
