"""The statistics the verdicts rest on, distribution-free and exact for the
repetition counts a run has: the two-sided Mann-Whitney U test, and the
Hodges-Lehmann estimate of the ratio of two times with its confidence
interval, read from the same null distribution of U, so that an interval
excludes 1 exactly when the test rejects."""
import math
import statistics
from dataclasses import dataclass
from functools import lru_cache

SIGNIFICANCE = 0.05
LEVEL = 1 - SIGNIFICANCE
# Beyond this many pairs the null distribution is taken as normal.
EXACT_PAIRS = 400


@lru_cache(maxsize=None)
def u_counts(m, n):
    """How many of the C(m + n, m) orderings of two samples of m and n
    values give each U from 0 to m * n (U: the pairs in which the first
    sample's value is the larger)."""
    # Each ordering ends with a value of one sample or the other; one of
    # the first sample placed last exceeds all n of the other.
    if m == 0 or n == 0:
        return (1,)
    with_first = u_counts(m - 1, n)
    with_second = u_counts(m, n - 1)
    counts = [0] * (m * n + 1)
    for u, count in enumerate(with_first):
        counts[u + n] += count
    for u, count in enumerate(with_second):
        counts[u] += count
    return tuple(counts)


def lower_tail(m, n, u):
    """P(U <= u) when both samples come from one distribution."""
    if m * n > EXACT_PAIRS:
        mean, sd = m * n / 2, math.sqrt(m * n * (m + n + 1) / 12)
        return 0.5 * (1 + math.erf((u + 0.5 - mean) / (sd * math.sqrt(2))))
    counts = u_counts(m, n)
    return sum(counts[:u + 1]) / sum(counts)


def u_statistic(a, b):
    """Pairs (x from a, y from b) with x > y, ties counting one half."""
    return sum(1.0 if x > y else 0.5 if x == y else 0.0 for x in a for y in b)


def mann_whitney_p(a, b):
    """Two-sided p of the Mann-Whitney U test."""
    m, n = len(a), len(b)
    u = u_statistic(a, b)
    low = lower_tail(m, n, math.floor(u))
    high = 1 - lower_tail(m, n, math.ceil(u) - 1)
    return min(1.0, 2 * min(low, high))


def critical_rank(m, n, level=LEVEL):
    """The largest k with P(U <= k - 1) <= (1 - level) / 2, or None when even
    k = 1 exceeds it (too few repetitions for an interval at that level)."""
    alpha = (1 - level) / 2
    k = 0
    while k < m * n and lower_tail(m, n, k) <= alpha:
        k += 1
    return k or None


@dataclass(frozen=True)
class Ratio:
    """How many times the first set's time is the second's: the
    Hodges-Lehmann estimate (the median of all pairwise ratios) and its
    interval, None when the repetitions are too few for one."""
    estimate: float
    low: float = None
    high: float = None

    @property
    def decided(self):
        return self.low is not None


def ratio(a, b, level=LEVEL):
    """The ratio of a's times to b's: from the pairwise differences of
    their logarithms, the median and the k-th from each end."""
    differences = sorted(math.log(x) - math.log(y) for x in a for y in b)
    estimate = math.exp(statistics.median(differences))
    k = critical_rank(len(a), len(b), level)
    if k is None:
        return Ratio(estimate)
    return Ratio(estimate, math.exp(differences[k - 1]),
                 math.exp(differences[len(differences) - k]))
