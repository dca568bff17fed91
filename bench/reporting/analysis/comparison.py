"""One set of repetitions against another: their medians, the ratio of the
medians and the verdict of a two-sided Mann-Whitney U test."""
import statistics

from .stats import SIGNIFICANCE, mann_whitney_p

# The verdicts, from the first set's side: it takes less time (better),
# more (worse), no difference the test can tell (tie), or there is one
# repetition a side and nothing to test.
BETTER, WORSE, TIE, UNTESTED = "better", "worse", "tie", "untested"


class Comparison:
    """`ours` against `peer` on one measure (for two builds: the new one
    against the old)."""

    def __init__(self, ours, peer, our_samples, peer_samples, test=mann_whitney_p):
        self.ours, self.peer = ours, peer
        self.our_median = statistics.median(our_samples)
        self.peer_median = statistics.median(peer_samples)
        self.ratio = self.our_median / self.peer_median
        self.p = None
        if len(our_samples) > 1 and len(peer_samples) > 1:
            self.p = test(our_samples, peer_samples)

    @property
    def verdict(self):
        if self.p is None:
            return UNTESTED
        if self.p >= SIGNIFICANCE:
            return TIE
        return BETTER if self.ratio < 1 else WORSE


def compare(timings, suite, ours, n, peer=None):
    """Our map against its peer (or `peer`) in one suite at n, or None when
    either was not measured."""
    peer = peer or timings.catalog.peer(ours)
    a, b = timings.samples.get((suite, ours, n)), timings.samples.get((suite, peer, n))
    return Comparison(ours, peer, a, b) if a and b else None
