"""A map kind registered outside the bench, as README's "Add your own map"
shows, appears in a quick report's every figure and table with no change to
the report: a bench build with ListMap linked in, then bench/report --quick.
Needs the bench's tools (tools/install-deps bench); CI runs it."""
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


class QuickReportWithAnExtraMap(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-DCMAKE_BUILD_TYPE=Release",
                        "-DMAPBENCH_BUILD_BENCH=ON", "-DMAPBENCH_BUILD_TESTS=OFF",
                        "-DMAPBENCH_EXTRA_MAP_SOURCES=" +
                        os.path.join(ROOT, "tests", "list_map_registration.cpp")],
                       check=True, stdout=subprocess.DEVNULL)
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


if __name__ == "__main__":
    unittest.main()
