"""README's results section is what the report writes from the committed
results in bench/results, and nothing else: written again from the saved
JSON it comes out the same, so every figure in it comes from that run."""
import os
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.model import files  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.sections import document  # noqa: E402

RESULTS = os.path.join(ROOT, "bench", "results")


class ReadmeResultsTest(unittest.TestCase):
    def test_the_results_section_is_the_committed_runs_own(self):
        with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
            text = readme.read()
        self.assertEqual(text.count(document.BEGIN), 1)
        written = text.split(document.BEGIN, 1)[1].split(document.END, 1)[0]
        results = files.Results(RESULTS, Catalog.from_json(files.read(RESULTS, files.LIST)))
        drawn = list(files.read(RESULTS, files.FIGURES) or {})
        block = document.readme_block(results, drawn, "bench/results")
        self.assertEqual(document.BEGIN + written + document.END, "\n".join(block))

    def test_no_figure_in_the_readme_outside_its_results_section_but_the_sample_output(self):
        with open(os.path.join(ROOT, "README.md"), encoding="utf-8") as readme:
            text = readme.read()
        outside = text.split(document.BEGIN)[0] + text.split(document.END)[1]
        self.assertNotIn("](bench/results/", outside.replace("](bench/results/)", ""))


if __name__ == "__main__":
    unittest.main()
