"""The report's statistics on cases with known answers: the null
distribution of Mann-Whitney's U, its critical values against the published
table, the exact two-sided p, the Hodges-Lehmann ratio and its interval, the
interval's coverage, and the agreement of interval and test."""
import math
import os
import random
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis import stats  # noqa: E402
from reporting.analysis.comparison import Comparison  # noqa: E402


class NullDistributionTest(unittest.TestCase):
    def test_two_against_two_by_counting_the_six_orderings(self):
        # xxyy: U=4, xyxy: 3, xyyx and yxxy: 2, yxyx: 1, yyxx: 0
        self.assertEqual(stats.u_counts(2, 2), (1, 1, 2, 1, 1))
        self.assertEqual(sum(stats.u_counts(9, 9)), math.comb(18, 9))

    def test_critical_ranks_match_the_published_two_sided_five_percent_table(self):
        # Table critical values U (reject at U <= value): 4 v 4: 0, 5 v 5: 2,
        # 7 v 7: 8, 9 v 9: 17, 5 v 10: 8; k is one more. 3 v 3 cannot reach 5 %.
        for m, n, k in ((4, 4, 1), (5, 5, 3), (7, 7, 9), (9, 9, 18), (5, 10, 9)):
            with self.subTest(m=m, n=n):
                self.assertEqual(stats.critical_rank(m, n), k)
        self.assertIsNone(stats.critical_rank(3, 3))

    def test_exact_p_of_five_wholly_below_five(self):
        self.assertAlmostEqual(stats.mann_whitney_p([1, 2, 3, 4, 5], [6, 7, 8, 9, 10]), 2 / 252)
        # U = 0 + 2 + 1 + 3 + 2 = 8: p = 2 P(U <= 8) = 106 / 252
        self.assertAlmostEqual(stats.mann_whitney_p([1, 6, 3, 8, 5], [2, 7, 4, 9, 10]),
                               106 / 252)


class RatioTest(unittest.TestCase):
    def test_twice_the_times_give_two_within_the_third_pairwise_ratios(self):
        # The 25 ratios 2i / j: the third smallest is 2/3, the third largest 6.
        r = stats.ratio([2, 4, 6, 8, 10], [1, 2, 3, 4, 5])
        self.assertAlmostEqual(r.estimate, 2.0)
        self.assertAlmostEqual(r.low, 2 / 3)
        self.assertAlmostEqual(r.high, 6.0)

    def test_too_few_repetitions_give_an_estimate_without_an_interval(self):
        r = stats.ratio([1.0, 1.1, 1.2], [2.0, 2.1, 2.2])
        self.assertFalse(r.decided)
        self.assertAlmostEqual(r.estimate, 1.1 / 2.1, places=2)

    def test_the_interval_covers_the_true_ratio_95_times_in_a_hundred(self):
        generator = random.Random(20261208)
        covered, trials = 0, 400
        for _ in range(trials):
            a = [0.7 * math.exp(generator.gauss(0, 0.1)) for _ in range(9)]
            b = [math.exp(generator.gauss(0, 0.1)) for _ in range(9)]
            r = stats.ratio(a, b)
            covered += r.low <= 0.7 <= r.high
        self.assertGreaterEqual(covered / trials, 0.93)
        self.assertLessEqual(covered / trials, 0.995)

    def test_the_interval_leaves_out_one_exactly_when_the_test_rejects(self):
        generator = random.Random(7)
        for _ in range(200):
            a = [generator.lognormvariate(0, 0.2) for _ in range(7)]
            b = [generator.lognormvariate(0.15, 0.2) for _ in range(7)]
            r = stats.ratio(a, b)
            self.assertEqual(r.high < 1 or r.low > 1, stats.mann_whitney_p(a, b) < 0.05)


class ComparisonTest(unittest.TestCase):
    def test_the_verdict_follows_the_interval(self):
        self.assertEqual(Comparison("m", "p", [1, 2, 3, 4, 5], [6, 7, 8, 9, 10]).verdict,
                         "better")
        self.assertEqual(Comparison("m", "p", [6, 7, 8, 9, 10], [1, 2, 3, 4, 5]).verdict,
                         "worse")
        self.assertEqual(Comparison("m", "p", [1, 6, 3, 8, 5], [2, 7, 4, 9, 10]).verdict, "tie")

    def test_too_few_repetitions_are_untested(self):
        self.assertEqual(Comparison("m", "p", [1], [2]).verdict, "untested")
        self.assertEqual(Comparison("m", "p", [1, 2, 3], [4, 5, 6]).verdict, "untested")


if __name__ == "__main__":
    unittest.main()
