"""A map kind registered outside the bench, as README's "Add your own map"
shows, appears in a quick report's every figure and table with no change to
the report: a bench build with ListMap linked in, then bench/report --quick.
And a mix of one's own and the example trace, run through bench/report on
the same build, each give a table with its verdicts and a figure. Needs the
bench's tools (tools/install-deps bench); CI runs it."""
import json
import os
import re
import subprocess
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
BUILD = os.path.join(ROOT, "build", "bench-extra-map")
EXTRA = "ListMap"


def tables(markdown):
    """The Markdown tables of a report, each with the heading above it."""
    found, heading, current = [], "", []
    for line in markdown.split("\n"):
        if line.startswith("|"):
            current.append(line)
            continue
        if current:
            found.append((heading, current))
            current = []
        if line.startswith("#"):
            heading = line
    if current:
        found.append((heading, current))
    return found


def configure():
    """The bench build with ListMap linked in (bench/report builds it)."""
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                    "-DMAPBENCH_BUILD_BENCH=ON", "-DMAPBENCH_BUILD_TESTS=OFF",
                    "-DMAPBENCH_EXTRA_MAP_SOURCES=" +
                    os.path.join(ROOT, "tests", "list_map_registration.cpp")],
                   check=True, stdout=subprocess.DEVNULL)


class QuickReportWithAnExtraMap(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        configure()
        cls.out = tempfile.mkdtemp()
        subprocess.run([os.path.join(ROOT, "bench", "report"), "--quick", "--build", BUILD,
                        "--out", cls.out], check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(cls.out, "results.md")) as report:
            cls.markdown = report.read()
        with open(os.path.join(cls.out, "figures.json")) as manifest:
            cls.figures = json.load(manifest)

    def test_every_table_lists_it(self):
        found = tables(self.markdown)
        self.assertGreaterEqual(len(found), 10)
        for heading, rows in found:
            with self.subTest(table=heading):
                self.assertTrue(any(re.search(r"\b%s\b" % EXTRA, row) for row in rows))

    def test_it_has_goals_against_its_peer(self):
        rows = [r for r in self.markdown.split("\n") if r.startswith("| %s | " % EXTRA)]
        self.assertTrue(any("find time" in row for row in rows))

    def test_every_figure_of_maps_draws_it(self):
        figures = {name: titles for name, titles in self.figures.items()
                   if not name.endswith("_order.png")}
        self.assertGreaterEqual(len(figures), 11)
        for name, titles in figures.items():
            with self.subTest(figure=name):
                self.assertIn(EXTRA, titles)
                self.assertTrue(os.path.exists(os.path.join(self.out, name)))


class WorkloadsAUserDescribes(unittest.TestCase):
    """A mix and a trace, each on two maps at one size, two repetitions."""

    @classmethod
    def setUpClass(cls):
        configure()

    def report(self, *asked):
        out = tempfile.mkdtemp()
        subprocess.run([os.path.join(ROOT, "bench", "report"), "--build", BUILD, "--out", out,
                        "--maps", "BTree_64,absl_btree_map", "--repetitions", "2"] + list(asked),
                       check=True, stdout=subprocess.DEVNULL)
        with open(os.path.join(out, "results.md")) as report:
            return out, report.read()

    def rows_of(self, markdown, suite):
        """The tables on the suite: those it heads, and its rows of others."""
        return [rows if re.search(r"\b%s\b" % suite, heading) else
                [row for row in rows if row.startswith("| %s |" % suite)]
                for heading, rows in tables(markdown)]

    def test_a_mix_of_ones_own_is_timed_and_judged_like_a_suite(self):
        out, markdown = self.report("--mix", "find=90,scan=5:20,insert=5,keys=zipf:1.1",
                                    "--sizes", "1e3")
        found = self.rows_of(markdown, "own_mix")
        self.assertTrue(any(found), "no table of the mix")
        # Our map against its peer, with the interval and the verdict.
        self.assertTrue(any("BTree_64" in row and re.search(
            r"\[[0-9.]+, [0-9.]+\] \| (better|worse|tie)", row) for rows in found for row in rows))
        self.assertTrue(os.path.exists(os.path.join(out, "own_mix.png")))

    def test_the_example_trace_is_replayed_on_every_chosen_map(self):
        out, markdown = self.report("--trace", os.path.join(ROOT, "docs", "example.trace"))
        found = self.rows_of(markdown, "trace")
        self.assertTrue(any(found), "no table of the trace")
        rows = [row for rows in found for row in rows]
        self.assertTrue(any("BTree_64" in row for row in rows))
        self.assertTrue(any("absl_btree_map" in row for row in rows))
        self.assertTrue(os.path.exists(os.path.join(out, "trace.png")))


if __name__ == "__main__":
    unittest.main()
