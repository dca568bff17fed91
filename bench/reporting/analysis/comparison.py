"""One set of repetitions against another: the ratio of their times with its
95 % interval, the test's p and the verdict, all from one procedure
(analysis.stats)."""
import statistics

from . import stats

# The verdicts, from the first set's side: it takes less time (better: the
# whole interval lies below 1), more (worse: above 1), no difference the
# interval can tell (tie), or no interval: too few repetitions, or no
# spread in either set (nothing to judge a difference against).
BETTER, WORSE, TIE, UNTESTED, NO_SPREAD = "better", "worse", "tie", "untested", "no spread"


class Comparison:
    """`ours` against `peer` on one measure (for two builds: the new one
    against the old). `ratio` is ours / peer, the ratio of the geometric means;
    `interval` its 95 % interval (a stats.Ratio); `p` the test's, None where
    there is none."""

    def __init__(self, ours, peer, our_samples, peer_samples, our_labels=None,
                 peer_labels=None):
        self.ours, self.peer = ours, peer
        self.our_median = statistics.median(our_samples)
        self.peer_median = statistics.median(peer_samples)
        self.repetitions = (len(our_samples), len(peer_samples))
        pairs = paired(our_samples, peer_samples, our_labels, peer_labels)
        self.paired = pairs is not None
        self.interval = stats.ratio(*pairs, paired=True) if pairs else \
            stats.ratio(our_samples, peer_samples)
        self.ratio = self.interval.estimate
        self.p = self.interval.p

    @property
    def verdict(self):
        if not self.interval.decided:
            return NO_SPREAD if self.interval.reason == stats.NO_SPREAD else UNTESTED
        if self.interval.high < 1.0:
            return BETTER
        if self.interval.low > 1.0:
            return WORSE
        return TIE


def paired(a, b, a_labels, b_labels):
    """The two sets in the order of their labels, when every repetition of
    one has its partner in the other (timed in the same round, the same
    repetition of its process); else None."""
    if not a_labels or not b_labels or None in a_labels or None in b_labels or \
            len(set(a_labels)) != len(a_labels) or \
            set(a_labels) != set(b_labels) or len(a_labels) != len(a) or len(b_labels) != len(b):
        return None
    by_label = dict(zip(b_labels, b))
    return list(a), [by_label[label] for label in a_labels]


def compare(timings, suite, ours, n, peer=None):
    """Our map against its peer (or `peer`) in one suite at n, or None when
    either was not measured."""
    peer = peer or timings.catalog.peer(ours)
    a, b = timings.samples.get((suite, ours, n)), timings.samples.get((suite, peer, n))
    if not (a and b):
        return None
    return Comparison(ours, peer, a, b, timings.labels.get((suite, ours, n)),
                      timings.labels.get((suite, peer, n)))
