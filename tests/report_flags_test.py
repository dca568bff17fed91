"""Every flag of bench/report, bench/compare and bench/counts refuses a bad
value before anything builds: argparse's message naming the flag, exit
status 2, no traceback. A table of bad values for each flag, and the good
values that must pass."""
import contextlib
import io
import os
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.commands import compare, counts, flags, report  # noqa: E402

BAD_SIZES = ["1e99", "3e9", "0", "-1", "1.5", "abc", "", ",", "1e4,,1e5", "nan", "inf", "1e8"]
# Bad mixes, each with what the message must say (the program's reader,
# bench/harness/mix_recipe.cpp, says the same).
BAD_MIXES = [("", "an empty mix"), ("find", "item 1 ('find'): an item reads NAME=VALUE"),
             ("find=50,lookup=50", "item 2 ('lookup=50'): 'lookup' is neither an operation"),
             ("find=x", "item 1 ('find=x'), the share: 'x' is not a number"),
             ("find=-1", "a share is a positive number"),
             ("find=1,find=2", "item 2 ('find=2'): find is given twice"),
             ("scan=5", "a scan reads scan=SHARE:LONGEST"),
             ("scan=5:0", "the longest scan is a whole number from 1"),
             ("find=1,keys=normal", "keys are uniform, zipf"),
             ("find=1,keys=zipf:9", "the exponent lies from 0 to 5"),
             ("keys=zipf", "no operation"), ("find=1,", "item 2 (''): an item reads NAME=VALUE"),
             ("find=nan", "'nan' is not a number")]


class Refused(unittest.TestCase):
    def refuses(self, parse, argv, mentioning):
        """`parse(argv)` ends with status 2 and a message naming the flag."""
        message = io.StringIO()
        with self.assertRaises(SystemExit) as ended, contextlib.redirect_stderr(message):
            parse(argv)
        self.assertEqual(ended.exception.code, 2, message.getvalue())
        self.assertIn(mentioning, message.getvalue())
        self.assertNotIn("Traceback", message.getvalue())


class ReportFlagsTest(Refused):
    def setUp(self):
        self.folder = tempfile.TemporaryDirectory()
        self.file = os.path.join(self.folder.name, "a-file")
        open(self.file, "w").close()

    def tearDown(self):
        self.folder.cleanup()

    def test_every_bad_value_is_refused_with_its_flag(self):
        missing = os.path.join(self.folder.name, "nowhere")
        table = [("--mode", ["fast", ""]), ("--sizes", BAD_SIZES), ("--maps", ["", ",", "a,,b"]),
                 ("--mix", [text for text, _ in BAD_MIXES]), ("--trace", [missing, self.folder.name]),
                 ("--workloads", ["", ","]), ("--repetitions", ["0", "-3", "x", "1.5", ""]),
                 ("--from", [missing, self.file]), ("--resume", [missing, self.file]),
                 ("--out", [self.file]), ("--build", [self.file])]
        for flag, values in table:
            for value in values:
                with self.subTest(flag=flag, value=value):
                    self.refuses(report.arguments, [flag, value], flag)

    def test_flags_that_do_not_go_together_are_refused(self):
        folder = self.folder.name
        self.refuses(report.arguments, ["--from", folder, "--resume", folder], "--resume")
        self.refuses(report.arguments, ["--resume", folder], "holds no interrupted run")
        with open(os.path.join(folder, "plan.json"), "w") as plan:
            plan.write("{}")
        self.refuses(report.arguments, ["--resume", folder, "--sizes", "1e4"], "--sizes")
        self.refuses(report.arguments, ["--build", os.path.join(folder, "none")], "--build")

    def test_good_values_pass(self):
        _, args = report.arguments(["--sizes", "1e4,100000", "--maps", "BTree*,absl*",
                                    "--repetitions", "3", "--out", self.folder.name])
        self.assertEqual(args.sizes, [10000, 100000])
        self.assertEqual(args.out, self.folder.name)


class CompareFlagsTest(Refused):
    def test_every_bad_value_is_refused_with_its_flag(self):
        table = [("--sizes", BAD_SIZES), ("--rounds", ["3", "x", "-9", ""]),
                 ("--min-time", ["0", "-1", "nan", "inf", "x", ""])]
        for flag, values in table:
            for value in values:
                with self.subTest(flag=flag, value=value):
                    self.refuses(compare.arguments, ["HEAD", flag, value], flag)

    def test_a_reference_that_names_no_commit_or_a_bad_filter_is_refused(self):
        self.refuses(compare.arguments, ["no-such-ref-anywhere"], "names no commit")
        self.refuses(compare.arguments, ["HEAD", "^(find"], "not a regular expression")


class CountsFlagsTest(Refused):
    def test_every_bad_value_is_refused_with_its_flag(self):
        with tempfile.TemporaryDirectory() as folder:
            text = os.path.join(folder, "text")
            open(text, "w").close()
            table = [("--sizes", [v for v in BAD_SIZES if "," not in v and v]),
                     ("--out", [folder, os.path.join(folder, "none", "counts.json")]),
                     ("--maps", ["", ","]), ("--tool", [os.path.join(folder, "none"), text])]
            for flag, values in table:
                for value in values:
                    with self.subTest(flag=flag, value=value):
                        self.refuses(counts.parser().parse_args, [flag, value], flag)


class MixTest(Refused):
    def test_a_bad_mix_says_what_is_wrong_and_where(self):
        for text, message in BAD_MIXES:
            with self.subTest(text=text):
                self.refuses(report.arguments, ["--mix", text], message)

    def test_good_mixes_pass_as_written(self):
        for text in ("find=95,insert=5,keys=latest", "scan=95:100,insert=5,keys=zipf:0.99",
                     "find=1,erase=1,miss=0.5,update=2,rmw=1,keys=descending"):
            self.assertEqual(report.arguments(["--mix", text])[1].mix, text)


class SizeTest(unittest.TestCase):
    def test_sizes_read_in_either_notation_within_the_key_range_and_the_memory(self):
        self.assertEqual(flags.sizes("1e4,100000"), [10000, 100000])
        self.assertEqual(flags.size("3e7", memory=24e9), 30000000)
        with self.assertRaisesRegex(Exception, "more than this machine's 10 GB"):
            flags.size("3e7", memory=10e9)
        with self.assertRaisesRegex(Exception, "beyond the largest record count"):
            flags.size("3e9", memory=1e15)


if __name__ == "__main__":
    unittest.main()
