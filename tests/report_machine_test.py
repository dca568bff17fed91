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
