"""The statistics the verdicts rest on: the ratio of two sets of times, its
95 % interval and the test, all from one procedure, Student's t on the
logarithms of the times.

A ratio is the ratio of the two sets' geometric means. When the two sets
pair up, repetition by repetition (each round of a run times both maps,
close in time, and a slow spell of the machine moves both alike), the
interval is the paired one: of the mean logarithm of the pairs' ratios, with one degree of
freedom fewer than the pairs. Otherwise it is Welch's interval of the
difference of the mean logarithms: each set's spread is estimated on its
own, so the interval holds when the two spread differently (as a map
against a peer, or a latency run of 9 repetitions against one of 15, often
do), with the Welch-Satterthwaite degrees of freedom. The test is the same
t: its p is below 5 % exactly when the interval leaves 1 out, so the
verdict and the test cannot disagree. Tied values need no handling, as no
ranks are taken.

A simulation in tests/report_stats_test.py checks the coverage: at least
0.93 at 5 against 5, 9 against 9, 5 against 11 and 9 against 15
repetitions, with equal spreads, with the smaller set four times as noisy,
and with values tied on a grid; and of the paired interval, with rounds
that move both sets. Rank intervals were tried and dropped:
Mann-Whitney's covers the true ratio 89 % of the time at 9 against 15 when
the smaller set is the noisier, and Brunner-Munzel's 92 % at 5 against 11.
A slow spell of the machine widens this interval more than it would a rank
interval's: an outlier leaves the target undecided rather than decided on
the wrong side."""
import math
import statistics
from dataclasses import dataclass
from functools import lru_cache

SIGNIFICANCE = 0.05
LEVEL = 1 - SIGNIFICANCE

# Why a comparison has no interval.
TOO_FEW = "too few repetitions"
NO_SPREAD = "no spread"


class BadSample(ValueError):
    """A time that cannot be compared: not a positive finite number."""


def check(values, name):
    """The values as floats, or BadSample naming the first bad one."""
    checked = []
    for index, value in enumerate(values):
        try:
            number = float(value)
        except (TypeError, ValueError):
            number = math.nan
        if not (math.isfinite(number) and number > 0):
            raise BadSample("%s: repetition %d is %r; a time must be a positive number"
                            % (name, index + 1, value))
        checked.append(number)
    return checked


def incomplete_beta(a, b, x):
    """The regularized incomplete beta function I_x(a, b), by its continued
    fraction (Lentz's method)."""
    if x <= 0:
        return 0.0
    if x >= 1:
        return 1.0
    if x > (a + 1) / (a + b + 2):
        return 1.0 - incomplete_beta(b, a, 1 - x)
    front = math.exp(math.lgamma(a + b) - math.lgamma(a) - math.lgamma(b) +
                     a * math.log(x) + b * math.log(1 - x)) / a
    tiny = 1e-300

    def away_from_zero(value):
        return value if abs(value) > tiny else tiny

    c, d = 1.0, 1 / away_from_zero(1 - (a + b) * x / (a + 1))
    result = d
    for m in range(1, 500):
        for numerator in (m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m)),
                          -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1))):
            d = 1 / away_from_zero(1 + numerator * d)
            c = away_from_zero(1 + numerator / c)
            result *= c * d
        if abs(c * d - 1) < 1e-15:
            break
    return front * result


def t_two_sided(t, df):
    """P(|T| >= |t|) for Student's T with df (not necessarily whole) degrees
    of freedom."""
    return incomplete_beta(df / 2, 0.5, df / (df + t * t))


def t_quantile(p, df):
    """The t with P(|T| >= t) = p, by bisection."""
    low, high = 0.0, 1.0
    while t_two_sided(high, df) > p:
        low, high = high, 2 * high
    for _ in range(60):
        middle = (low + high) / 2
        if t_two_sided(middle, df) > p:
            low = middle
        else:
            high = middle
    return high


@dataclass(frozen=True)
class Ratio:
    """How many times the first set's time is the second's: the estimate,
    its interval with its degrees of freedom and the test's p (the interval
    None, with the reason, where there is none)."""
    estimate: float
    low: float = None
    high: float = None
    p: float = None
    reason: str = None
    df: float = None

    @property
    def decided(self):
        return self.low is not None


def ratio(a, b, level=LEVEL, paired=False):
    """The ratio of a's times to b's, with its interval at `level` and the
    two-sided p of the test that no ratio but 1 separates them; `paired`:
    a[i] and b[i] were timed together."""
    x = tuple(math.log(v) for v in check(a, "the first set"))
    y = tuple(math.log(v) for v in check(b, "the second set"))
    if paired:
        if len(x) != len(y):
            raise ValueError("paired sets of %d and %d times" % (len(x), len(y)))
        return one_sample(tuple(p - q for p, q in zip(x, y)), level)
    return welch(x, y, level)


def interval(estimate, spread, df, level):
    """The t interval of a mean logarithm and its p, as a Ratio; `spread`
    the variance of the estimate."""
    if spread == 0:
        return Ratio(math.exp(estimate), reason=NO_SPREAD)
    error = math.sqrt(spread)
    p = t_two_sided(estimate / error, df)
    half = t_quantile(1 - level, df) * error
    return Ratio(math.exp(estimate), math.exp(estimate - half), math.exp(estimate + half), p,
                 df=df)


def projected_half_width(ratio, now, more, level=LEVEL):
    """The half-width on the logarithms that the interval of `ratio`, from
    `now` repetitions a side, would have with `more` further ones a side
    and the same spread: the standard error shrinks as the square root of
    the repetitions, and the degrees of freedom grow by `more` (a paired
    interval's exactly, Welch's at least)."""
    half = math.log(ratio.high / ratio.low) / 2
    shrink = math.sqrt(now / (now + more))
    return half * shrink * t_quantile(1 - level, ratio.df + more) / t_quantile(1 - level, ratio.df)


@lru_cache(maxsize=65536)
def one_sample(differences, level):
    estimate = statistics.fmean(differences)
    if len(differences) < 2:
        return Ratio(math.exp(estimate), reason=TOO_FEW)
    return interval(estimate, statistics.variance(differences) / len(differences),
                    len(differences) - 1, level)


@lru_cache(maxsize=65536)
def welch(x, y, level):
    estimate = statistics.fmean(x) - statistics.fmean(y)
    if len(x) < 2 or len(y) < 2:
        return Ratio(math.exp(estimate), reason=TOO_FEW)
    parts = [statistics.variance(x) / len(x), statistics.variance(y) / len(y)]
    spread = sum(parts)
    if spread == 0:
        return Ratio(math.exp(estimate), reason=NO_SPREAD)
    df = spread ** 2 / sum(part ** 2 / (len(v) - 1) for part, v in zip(parts, (x, y)))
    return interval(estimate, spread, df, level)
