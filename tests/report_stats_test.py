"""The report's statistics on cases with known answers: Student's t against
the published table; the ratio, its interval and the test on the cases that
tripped the rank intervals once (ties, no spread, a bad time); the verdict
and the test agreeing by construction; and a seeded simulation of the
interval's coverage with equal spreads, unequal spreads and ties."""
import math
import os
import random
import sys
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.analysis import stats  # noqa: E402
from reporting.analysis.comparison import Comparison  # noqa: E402
from reporting.analysis.targets import Target, may_decide, outcome  # noqa: E402
from reporting.model.goals import Goal  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from reporting.model.timings import BadTime, Timings  # noqa: E402


class StudentTest(unittest.TestCase):
    def test_quantiles_match_the_published_two_sided_five_percent_table(self):
        for df, t in ((1, 12.706), (2, 4.303), (4, 2.776), (8, 2.306), (30, 2.042)):
            with self.subTest(df=df):
                self.assertAlmostEqual(stats.t_quantile(0.05, df), t, places=3)
                self.assertAlmostEqual(stats.t_two_sided(t, df), 0.05, places=4)

    def test_fractional_degrees_lie_between_their_neighbours(self):
        self.assertLess(stats.t_quantile(0.05, 4.5), stats.t_quantile(0.05, 4))
        self.assertGreater(stats.t_quantile(0.05, 4.5), stats.t_quantile(0.05, 5))
        self.assertEqual(stats.t_two_sided(0.0, 3), 1.0)


class RatioTest(unittest.TestCase):
    def test_twice_the_times_give_two(self):
        r = stats.ratio([2, 4, 6, 8, 10], [1, 2, 3, 4, 5])
        self.assertAlmostEqual(r.estimate, 2.0)
        self.assertLess(r.low, 2.0)
        self.assertGreater(r.high, 2.0)
        # Symmetric on the logarithms: low * high = estimate ** 2.
        self.assertAlmostEqual(r.low * r.high, 4.0)

    def test_tied_values_give_a_verdict_and_a_p_that_agree(self):
        # Once read [1.0000, 1.4919] "tie (p=0.043)".
        a = [1.0, 1.3499, 1.2214, 1.4918, 1.3499, 1.2214, 1.0, 1.1052, 1.4918, 1.0]
        b = [1.1052, 0.7408, 1.1052, 0.8187, 1.1052, 0.9048, 0.9048, 1.3499]
        c = Comparison("m", "p", a, b)
        self.assertAlmostEqual(c.ratio, 1.2245, places=4)
        self.assertAlmostEqual(c.interval.low, 1.018, places=3)
        self.assertAlmostEqual(c.interval.high, 1.473, places=3)
        self.assertAlmostEqual(c.p, 0.0338, places=4)
        self.assertEqual(c.verdict, "worse")

    def test_three_tied_a_side_are_far_from_a_difference(self):
        # Once p = 0.70 where the samples are nearly the same.
        c = Comparison("m", "p", [1.0, 1.4918, 0.9048], [1.0, 1.4918, 1.0])
        self.assertAlmostEqual(c.p, 0.877, places=3)
        self.assertEqual(c.verdict, "tie")

    def test_no_spread_is_not_judged(self):
        # Once [1, 1]: met at a goal of 1.0 and missed at 0.99.
        c = Comparison("m", "p", [10] * 5, [10] * 5)
        self.assertFalse(c.interval.decided)
        self.assertEqual(c.verdict, "no spread")
        self.assertIsNone(c.p)
        for goal in (1.0, 0.99):
            self.assertEqual(outcome(c.ratio, goal, c.interval), "not judged: no spread")

    def test_one_set_without_spread_is_judged_on_the_other(self):
        r = stats.ratio([10] * 5, [10, 10, 10, 10, 11])
        self.assertLess(r.low, 1.0)
        self.assertGreater(r.high, 1.0)

    def test_nan_zero_and_negative_times_are_refused(self):
        for bad in (math.nan, 0.0, -1.0, math.inf):
            with self.subTest(bad=bad), self.assertRaises(stats.BadSample):
                stats.ratio([bad, 1, 2, 3, 4], [5, 6, 7, 8, 9])

    def test_a_bad_saved_time_names_its_benchmark(self):
        catalog = Catalog.from_json({"contenders": [], "suites": [], "programs": {},
                                     "targets": {"sizes": [], "goals": []}, "facts": {}})
        for rate in (0, -5.0, float("nan"), None):
            document = {"benchmarks": [{"run_name": "find/Tree_64/10000", "run_type": "iteration",
                                        "items_per_second": rate}]}
            with self.subTest(rate=rate), self.assertRaisesRegex(BadTime, "find/Tree_64/10000"):
                Timings([document], catalog)

    def test_one_run_a_side_has_no_interval(self):
        self.assertEqual(Comparison("m", "p", [1], [2]).verdict, "untested")
        self.assertEqual(Comparison("m", "p", [1], [2, 3]).verdict, "untested")


class ConsistencyTest(unittest.TestCase):
    def test_the_verdict_is_a_tie_exactly_when_p_is_at_least_five_percent(self):
        generator = random.Random(7)
        for trial in range(300):
            m, n = generator.choice([(3, 3), (5, 5), (5, 11), (9, 15)])
            grid = 0.1 if trial % 2 else None
            a = [generator.gauss(0.15, 0.2) for _ in range(m)]
            b = [generator.gauss(0, 0.2) for _ in range(n)]
            if grid:
                a, b = ([round(v / grid) * grid for v in s] for s in (a, b))
            c = Comparison("m", "p", [math.exp(v) for v in a], [math.exp(v) for v in b])
            if c.interval.decided:
                self.assertEqual(c.verdict != "tie", c.p < stats.SIGNIFICANCE)


def coverage(m, n, spread_a, spread_b, grid, trials, seed):
    """The share of seeded trials whose interval holds the true log ratio
    0.3, the logarithms normal (rounded to `grid`, a multiple of which the
    true ratio is, when given)."""
    generator = random.Random(seed)
    covered = 0
    for _ in range(trials):
        a = [0.3 + generator.gauss(0, spread_a) for _ in range(m)]
        b = [generator.gauss(0, spread_b) for _ in range(n)]
        if grid:
            a, b = ([round(v / grid) * grid for v in s] for s in (a, b))
        r = stats.ratio([math.exp(v) for v in a], [math.exp(v) for v in b])
        covered += r.decided and r.low <= math.exp(0.3) * (1 + 1e-9) and \
            r.high >= math.exp(0.3) * (1 - 1e-9)
    return covered / trials


class PairingTest(unittest.TestCase):
    # Two maps in five rounds, each round slower or faster for both.
    OURS, PEER = [50, 200, 70, 150, 100], [60, 230, 85, 170, 120]

    def test_repetitions_timed_in_one_process_pair_up_by_label(self):
        c = Comparison("m", "p", self.OURS, self.PEER, list(range(5)), list(range(5)))
        self.assertTrue(c.paired)
        self.assertEqual(c.verdict, "better")
        self.assertLess(c.interval.high / c.interval.low, 1.2)
        shuffled = [3, 1, 4, 0, 2]
        again = Comparison("m", "p", self.OURS, [self.PEER[i] for i in shuffled], list(range(5)),
                           shuffled)
        self.assertEqual(again.interval, c.interval)

    def test_without_partners_the_rounds_hide_the_difference(self):
        self.assertEqual(Comparison("m", "p", self.OURS, self.PEER).verdict, "tie")
        for labels in (list(range(1, 6)), [0, 1, 2, 3, None], [0, 0, 1, 2, 3]):
            with self.subTest(labels=labels):
                c = Comparison("m", "p", self.OURS, self.PEER, list(range(5)), labels)
                self.assertFalse(c.paired)


class CoverageTest(unittest.TestCase):
    def test_the_interval_holds_the_true_ratio_at_least_93_times_in_a_hundred(self):
        # The smaller set the noisier: the case rank intervals fail.
        for m, n in ((5, 5), (9, 9), (5, 11), (9, 15)):
            for spread_a, spread_b, grid in ((0.1, 0.1, None), (0.4, 0.1, None),
                                             (0.1, 0.1, 0.1)):
                with self.subTest(m=m, n=n, spreads=(spread_a, spread_b), grid=grid):
                    share = coverage(m, n, spread_a, spread_b, grid, 400, seed=m * 100 + n)
                    self.assertGreaterEqual(share, 0.93)
                    self.assertLessEqual(share, 0.99)

    def test_the_paired_interval_holds_through_rounds_that_move_both_sets(self):
        generator = random.Random(11)
        for pairs, spread in ((5, 0.05), (9, 0.1), (15, 0.02)):
            covered = 0
            for _ in range(400):
                rounds = [generator.gauss(0, 0.3) for _ in range(pairs)]
                a = [math.exp(0.3 + r + generator.gauss(0, spread)) for r in rounds]
                b = [math.exp(r + generator.gauss(0, 4 * spread)) for r in rounds]
                r = stats.ratio(a, b, paired=True)
                covered += r.low <= math.exp(0.3) <= r.high
            with self.subTest(pairs=pairs):
                self.assertGreaterEqual(covered / 400, 0.93)


class SecondLookTest(unittest.TestCase):
    ROUNDS = list(range(5))

    def target(self, ours, peer, limit):
        comparison = Comparison("m", "p", ours, peer, self.ROUNDS, self.ROUNDS)
        return Target("m", Goal("Tree", "p", "mix", "time", limit), 100000, comparison.ratio,
                      comparison=comparison)

    def test_the_projected_interval_narrows_with_the_repetitions_and_the_degrees(self):
        r = stats.ratio([1.0, 1.2, 0.9, 1.1, 1.3], [1.0] * 5, paired=True)
        half = math.log(r.high / r.low) / 2
        self.assertAlmostEqual(stats.projected_half_width(r, 5, 0), half)
        expected = half * math.sqrt(5 / 13) * stats.t_quantile(0.05, 12) / \
            stats.t_quantile(0.05, 4)
        self.assertAlmostEqual(stats.projected_half_width(r, 5, 8), expected)

    def test_a_look_is_taken_where_it_may_decide_and_left_out_where_it_cannot(self):
        # Near the goal and narrow: more repetitions may clear it.
        close = self.target([0.90, 1.02, 0.88, 0.97, 0.93], [1.0] * 5, 1.0)
        self.assertEqual(outcome(close.ratio, 1.0, close.comparison.interval), "undecided")
        self.assertTrue(may_decide(close, 8))
        self.assertFalse(may_decide(close, 0))
        # Wide and about on the goal, as a tail percentile that slow spells
        # of the machine move: four more would seldom decide it.
        wild = self.target([900, 1150, 2000, 700, 1000], [1000] * 5, 1.0)
        self.assertEqual(outcome(wild.ratio, 1.0, wild.comparison.interval), "undecided")
        self.assertFalse(may_decide(wild, 4))

    def test_a_target_without_an_interval_gets_no_look(self):
        flat = self.target([10] * 5, [10] * 5, 1.0)
        self.assertFalse(may_decide(flat, 8))


if __name__ == "__main__":
    unittest.main()
