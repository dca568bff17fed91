"""The goals of our maps against their peers, as the bench programs list
them: each a record of the suite, the statistic it is judged on, the sizes,
the limit of our map's ratio to its peer, and the peer. The report reads
them once, here; no layer takes a measure's name apart."""
from dataclasses import dataclass
from typing import Optional, Tuple

# What a goal is judged on: the suite's time per operation; a percentile of
# its calls (map_latency's run of the suite); instructions or simulated L1
# data-cache misses per operation (bench/counts); heap bytes per entry
# after the fill (map_memory).
TIME, PERCENTILE, INSTRUCTIONS, L1_MISSES, BYTES = (
    "time", "percentile", "instructions", "l1_misses", "bytes")
STATISTICS = (TIME, PERCENTILE, INSTRUCTIONS, L1_MISSES, BYTES)
# The suite of map_latency that times each call of a suite: its name and
# this.
LATENCY_SUFFIX = "_latency"


def percentile_key(latency_suite, percentile):
    """The measure of a latency run's percentile ("mix_latency_p99.9"), or
    of its maximum ("mix_latency_max"), as the latency model keys it."""
    return "%s_%s" % (latency_suite, "max" if percentile == "max" else "p" + percentile)


@dataclass(frozen=True)
class Goal:
    kind: str
    peer: str
    suite: str       # the suite whose operations it judges: "find", "mix", "walk"
    statistic: str   # one of STATISTICS
    limit: float     # our map's value over the peer's, at most
    sizes: Tuple[int, ...] = ()  # () for the target sizes
    q: Optional[float] = None    # the percentile, for PERCENTILE

    @classmethod
    def from_json(cls, entry):
        if entry["statistic"] not in STATISTICS:
            raise ValueError("a goal on an unknown statistic: %r" % entry)
        return cls(entry["kind"], entry["peer"], entry["suite"], entry["statistic"],
                   float(entry["limit"]), tuple(entry.get("sizes", ())), entry.get("q"))

    def to_json(self):
        entry = {"kind": self.kind, "peer": self.peer, "suite": self.suite,
                 "statistic": self.statistic, "limit": self.limit}
        if self.sizes:
            entry["sizes"] = list(self.sizes)
        if self.q is not None:
            entry["q"] = self.q
        return entry

    @property
    def timed(self):
        """Judged on repeated times, with an interval."""
        return self.statistic in (TIME, PERCENTILE)

    @property
    def percentile(self):
        """The percentile as the latency documents name it ("99.9")."""
        return "%g" % self.q

    @property
    def run_suite(self):
        """The suite whose runs time the goal: the suite itself, or
        map_latency's of it; None for a count or a weight."""
        if self.statistic == TIME:
            return self.suite
        return self.suite + LATENCY_SUFFIX if self.statistic == PERCENTILE else None

    @property
    def key(self):
        """The goal's measure as the timings and standing.json key it:
        "find", "mix_latency_p99.9", "find_instructions", "bytes"."""
        if self.statistic == TIME:
            return self.suite
        if self.statistic == PERCENTILE:
            return percentile_key(self.run_suite, self.percentile)
        return "bytes" if self.statistic == BYTES else "%s_%s" % (self.suite, self.statistic)
