"""The machine in every result: the record a run keeps, the line the report
writes of it, what tells two machines apart, and the huge-page mode read
from the kernel's setting."""
import os
import subprocess
import sys
import tempfile
import unittest
from types import SimpleNamespace
from unittest import mock

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.commands import machine_probe  # noqa: E402
from reporting.model.machine import Machine  # noqa: E402
from reporting.sections.host_cache import against_reference_lines, probe_lines  # noqa: E402
from reporting.sections.machine import (difference_lines, fresh_page_lines,  # noqa: E402
                                        machine_line)

RECORD = {"cpu": "Intel(R) Xeon(R) Processor", "cpus": 2, "mhz": 2600.0,
          "caches": [{"level": 1, "type": "Data", "kib": 48, "shared_cpus": "0"},
                     {"level": 1, "type": "Instruction", "kib": 64, "shared_cpus": "0"},
                     {"level": 2, "type": "Unified", "kib": 2048, "shared_cpus": "0"}],
          "kernel": "6.1.0", "system": "Linux x86_64", "transparent_huge_pages": "madvise",
          "compiler": {"path": "/usr/bin/c++", "version": "c++ 12.2.0", "build_type": "Release",
                       "flags": "-O2 -DNDEBUG"},
          "date": "2026-12-08T23:25", "commit": "71eb5c7bbc6a0123", "dirty": False,
          "seconds": 615}


class MachineTest(unittest.TestCase):
    def test_the_line_names_processor_caches_build_commit_and_time(self):
        self.assertEqual(
            machine_line(Machine(RECORD)),
            "Machine: Intel(R) Xeon(R) Processor, 2 CPUs at 2600 MHz (L1 Data 48 KiB, L2 "
            "Unified 2048 KiB), Linux x86_64, kernel 6.1.0, transparent huge pages `madvise`; "
            "c++ 12.2.0, release build, `-O2 -DNDEBUG`; commit 71eb5c7bbc6a; run "
            "2026-12-08T23:25. It took 10 min 15 s.")

    def test_a_run_from_before_the_record_reads_its_caches_from_the_context(self):
        context = {"num_cpus": 2, "mhz_per_cpu": 2596, "date": "2026-12-08T09:27:00",
                   "caches": [{"level": 2, "type": "Unified", "size": 1048576}]}
        line = machine_line(Machine(None, context))
        self.assertIn("CPU model not recorded, 2 CPUs at 2596 MHz (L2 Unified 1024 KiB)", line)

    def test_another_processor_or_cache_is_stated_and_the_same_machine_is_not(self):
        other = dict(RECORD, cpu="AMD EPYC", caches=[{"level": 2, "type": "Unified", "kib": 512,
                                                      "shared_cpus": "0"}])
        self.assertEqual(Machine(RECORD).differences(Machine(dict(RECORD))), [])
        self.assertEqual(difference_lines(Machine(RECORD), Machine(dict(RECORD)), "x"), [])
        differences = Machine(RECORD).differences(Machine(other))
        self.assertEqual(differences, [
            "CPU Intel(R) Xeon(R) Processor against AMD EPYC",
            "caches L1 Data 48 KiB, L2 Unified 2048 KiB against L2 Unified 512 KiB"])
        text = difference_lines(Machine(RECORD), Machine(other), "the committed results")[0]
        self.assertTrue(text.startswith("**Another machine.** The committed results ran on"))

    def test_fresh_pages_name_each_repetition_and_agree_in_number(self):
        def faulted(repetition):
            return SimpleNamespace(suite="fifo", name="BTree_64", n=10000000,
                                   repetition=repetition, faults=65)
        self.assertEqual(fresh_page_lines([]), [])
        self.assertEqual(fresh_page_lines([faulted(1)])[0],
                         "**Fresh pages.** 1 repetition took more than 64 page faults inside "
                         "its timed region, where the declared heap should have left no page "
                         "to touch: fifo/BTree_64/10000000 #2 (65). Its time includes what "
                         "growing the heap costs.")
        many = fresh_page_lines([faulted(r) for r in range(14)])[0]
        self.assertTrue(many.startswith("**Fresh pages.** 14 repetitions took more than 64 "
                                        "page faults inside their timed region"))
        self.assertIn("#12 (65) and 2 more. Their times include", many)

    def probed(self, *rounds):
        return Machine(dict(RECORD, cache_probe=[{"round": r, "bytes": 1 << 20, "laps_ns": laps}
                                                 for r, laps in enumerate(rounds)]))

    def test_the_chase_before_each_round_says_how_often_the_host_took_the_cache(self):
        machine = self.probed([15, 16, 40], [14, 90, 20])
        self.assertEqual(probe_lines(machine), [
            "**The cache the host left.** Before each of the 2 rounds, 3 laps of a chase "
            "over half the last-level cache (1 MB): 32.5 ns a load on average, a lap from 14.0 "
            "to 90.0 ns; 2 of 6 laps took more than twice the fastest, the host's other tenants "
            "having taken much of the cache meanwhile. Maps about the cache's size slow while "
            "they do, a map that reads more lines a lookup the more, so their ratios move with "
            "it.", ""])
        self.assertEqual(probe_lines(Machine(RECORD)), [])

    def test_a_run_is_told_when_the_host_left_it_clearly_less_or_more_cache(self):
        calm = self.probed([15, 16], [14, 15], [16, 15])
        taken = self.probed([60, 90], [70, 40], [80, 95])
        what = "the committed results"
        less = against_reference_lines(taken, calm, what)
        self.assertEqual(less, [
            "**Less cache than the committed results.** The chase over half the last-level "
            "cache before each round took 4.70 [2.66, 8.28] times as long a load as in the run "
            "of the committed results (72.5 ns on average against 15.2): the host left this "
            "run less of its cache. Ratios of maps about the cache's size (finds at 1e6, above "
            "all) need not agree with those of the committed results.", ""])
        self.assertTrue(against_reference_lines(calm, taken, what)[0].startswith("**More cache"))
        # Nothing where the interval cannot tell them apart, on another
        # machine, or without a chase on either side.
        self.assertEqual(against_reference_lines(self.probed([15, 60], [50, 16]),
                                                 self.probed([16, 55], [45, 15]), what), [])
        other = Machine(dict(taken.record, cpu="another"))
        self.assertEqual(against_reference_lines(other, calm, what), [])
        self.assertEqual(against_reference_lines(taken, Machine(RECORD), what), [])
        self.assertEqual(against_reference_lines(taken, None, what), [])

    def test_without_caches_in_sys_the_processors_own_sizes_are_read_from_getconf(self):
        text = ("LEVEL1_ICACHE_SIZE                 32768\n"
                "LEVEL1_ICACHE_ASSOC                \n"
                "LEVEL1_DCACHE_SIZE                 49152\n"
                "LEVEL2_CACHE_SIZE                  1048576\n"
                "LEVEL3_CACHE_SIZE                  0\n"
                "LEVEL4_CACHE_SIZE                  \n")
        self.assertEqual(machine_probe.caches_from_getconf(text), [
            {"level": 1, "type": "Data", "kib": 48, "shared_cpus": ""},
            {"level": 1, "type": "Instruction", "kib": 32, "shared_cpus": ""},
            {"level": 2, "type": "Unified", "kib": 1024, "shared_cpus": ""}])
        self.assertEqual(machine_probe.caches_from_getconf(""), [])

    def test_the_huge_page_mode_is_the_bracketed_word(self):
        with mock.patch.object(machine_probe, "_read", return_value="always [madvise] never"):
            self.assertEqual(machine_probe.huge_page_mode(), "madvise")
        with mock.patch.object(machine_probe, "_read", return_value=""):
            self.assertEqual(machine_probe.huge_page_mode(), "unknown")

    def test_results_the_run_replaces_do_not_make_the_tree_dirty_and_code_does(self):
        with tempfile.TemporaryDirectory() as root:
            def git(*arguments):
                subprocess.run(["git", "-C", root, "-c", "user.name=t", "-c", "user.email=t@t"]
                               + list(arguments), check=True, capture_output=True)
            os.makedirs(os.path.join(root, "results"))
            for name in ("results/phases.json", "map.cpp"):
                with open(os.path.join(root, name), "w") as f:
                    f.write("1")
            git("init", "-q")
            git("add", ".")
            git("commit", "-qm", "start")
            os.remove(os.path.join(root, "results", "phases.json"))
            out = os.path.join(root, "results")
            self.assertFalse(machine_probe.commit(root, out)["dirty"])
            self.assertTrue(machine_probe.commit(root)["dirty"])
            with open(os.path.join(root, "map.cpp"), "w") as f:
                f.write("2")
            self.assertTrue(machine_probe.commit(root, out)["dirty"])
            with tempfile.TemporaryDirectory() as elsewhere:
                self.assertTrue(machine_probe.commit(root, elsewhere)["dirty"])

    def test_the_record_of_this_machine_has_every_field_the_line_needs(self):
        record = machine_probe.machine(os.path.join(ROOT, "build", "no-such-build"), ROOT)
        self.assertGreaterEqual(record["cpus"], 1)
        self.assertEqual(len(record["commit"]), 40)
        self.assertIn("flags", record["compiler"])
        machine_line(Machine(dict(record, seconds=1)))


if __name__ == "__main__":
    unittest.main()
