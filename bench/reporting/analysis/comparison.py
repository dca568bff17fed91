"""One set of repetitions against another: the ratio of their times with its
95 % interval, the two-sided Mann-Whitney U test, and the verdict the
interval gives."""
import statistics

from . import stats

# The verdicts, from the first set's side: it takes less time (better: the
# whole interval lies below 1), more (worse: above 1), no difference the
# interval can tell (tie), or too few repetitions for an interval.
BETTER, WORSE, TIE, UNTESTED = "better", "worse", "tie", "untested"


class Comparison:
    """`ours` against `peer` on one measure (for two builds: the new one
    against the old). `ratio` is the Hodges-Lehmann estimate of ours / peer;
    `interval` its 95 % interval (a stats.Ratio); `p` the test's."""

    def __init__(self, ours, peer, our_samples, peer_samples):
        self.ours, self.peer = ours, peer
        self.our_median = statistics.median(our_samples)
        self.peer_median = statistics.median(peer_samples)
        self.repetitions = (len(our_samples), len(peer_samples))
        self.interval = stats.ratio(our_samples, peer_samples)
        self.ratio = self.interval.estimate
        self.p = None
        if len(our_samples) > 1 and len(peer_samples) > 1:
            self.p = stats.mann_whitney_p(our_samples, peer_samples)

    @property
    def verdict(self):
        if not self.interval.decided:
            return UNTESTED
        if self.interval.high < 1.0:
            return BETTER
        if self.interval.low > 1.0:
            return WORSE
        return TIE


def compare(timings, suite, ours, n, peer=None):
    """Our map against its peer (or `peer`) in one suite at n, or None when
    either was not measured."""
    peer = peer or timings.catalog.peer(ours)
    a, b = timings.samples.get((suite, ours, n)), timings.samples.get((suite, peer, n))
    return Comparison(ours, peer, a, b) if a and b else None
