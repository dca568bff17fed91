"""The report's modes, and the process design every mode shares.

quick: every suite once at n=1e3 (CI).
standard: what the targets ask and nothing more: each goal's suite at the
  goal's sizes, for the kinds with a goal on it and their peers; beyond the
  target sizes only the variant of each kind chosen before the run. Aimed
  with --maps, --workloads or --repetitions, it runs what was chosen at 1e4
  and 1e5 instead.
full: every suite at every size from 1e3 to 1e7, the phases' largest size
  with huge pages, the maps' structural steps and the heap weights.

Every mode runs its repetitions in rounds, one round after another, so that
a target's repetitions spread over the whole run and a slow spell of the
machine widens an interval rather than moving all of one target's
repetitions. Below ONE_MAP_FROM a round is one process of all the maps, its
benchmarks in random order, each filling its map afresh. From ONE_MAP_FROM
on, a process times one map in one group of suites (those that share a
fill, or one suite that builds its own maps), so that no map lands on
memory another map freed, and the processes of a map and its peer run side
by side, taking turns run by run (together.py), so that the two are timed
seconds apart. Every process runs one repetition: two run back
to back on one fill are near copies of each other (at 1e7 their times
differed by 1 to 6 % where those of two processes differed by 5 to 70 %,
the pages a process is given deciding much of its speed), so they would
narrow an interval without telling more about the map.
"""
from dataclasses import dataclass
from typing import Dict, List, Tuple

from ..model.catalog import PHASES, WORKLOADS

ONE_MAP_FROM = 1000000
# Sizes beyond the caches, where a lookup also pays TLB misses: the
# huge-page runs repeat these, for every contender alike.
HUGE_PAGE_SIZES = [1000000, 10000000]


@dataclass(frozen=True)
class LatencyRuns:
    sizes: Tuple[int, ...]
    repetitions: int  # one process a repetition (a map and a suite each from ONE_MAP_FROM)
    operations: int   # timed calls per run


@dataclass(frozen=True)
class Mode:
    # {program: sizes} of the suites of the phases and the workloads, and of
    # the heap weights and the counts; in the standard mode those of a run
    # aimed with --maps, --workloads or --repetitions.
    sizes: Dict[str, Tuple[int, ...]]
    memory_sizes: Tuple[int, ...]
    counts_sizes: Tuple[int, ...]
    repetitions: int
    # Further repetitions, in a second pass, of the targets the first leaves
    # undecided (not in an aimed run): (smallest size, repetitions) in
    # rising sizes, the last step at or below a size counting; none for none.
    extra_repetitions: Tuple[Tuple[int, int], ...]
    min_time: float  # seconds a benchmark runs per repetition
    latency: LatencyRuns
    targets_only: bool   # the goals' suites and sizes, unless aimed
    events: bool         # the maps' structural steps (map_events)
    # The programs whose largest sizes run again with huge pages.
    huge_page_programs: List[str]

# The second pass of the full mode: more repetitions where a process takes
# seconds (below 1e6 a process of the two maps compared, at 1e6 one of a
# map), fewer where a fill takes half a minute.
SECOND_PASS = ((0, 8), (ONE_MAP_FROM, 6), (10000000, 4))
# The standard mode's takes no look at 1e7: there four more processes of
# two maps cost 4 minutes where the AVL tree or std::map is one of them,
# and the whole run has 15; the full run decides what is left undecided
# there.
STANDARD_SECOND_PASS = ((0, 8), (ONE_MAP_FROM, 6), (10000000, 0))


def extra_at(steps, n):
    """The second pass's repetitions at size n."""
    found = 0
    for smallest, repetitions in steps:
        if n >= smallest:
            found = repetitions
    return found


MODES = {
    "quick": Mode(sizes={PHASES: (1000,), WORKLOADS: (1000,)}, memory_sizes=(1000,),
                  counts_sizes=(1000,), repetitions=1, extra_repetitions=(), min_time=0.01,
                  latency=LatencyRuns((1000,), 1, 20000), targets_only=False, events=False,
                  huge_page_programs=[]),
    "standard": Mode(sizes={PHASES: (10000, 100000), WORKLOADS: (10000, 100000)},
                     memory_sizes=(10000, 100000), counts_sizes=(10000, 100000),
                     repetitions=5, extra_repetitions=STANDARD_SECOND_PASS, min_time=0.1,
                     latency=LatencyRuns((10000, 1000000), 5, 1000000), targets_only=True,
                     events=False, huge_page_programs=[]),
    "full": Mode(sizes={PHASES: (1000, 10000, 100000, 1000000),
                        WORKLOADS: (1000, 10000, 100000, 1000000, 10000000)},
                 memory_sizes=(1000, 10000, 100000, 1000000, 10000000),
                 counts_sizes=(10000, 100000), repetitions=5, extra_repetitions=SECOND_PASS, min_time=0.2,
                 latency=LatencyRuns((10000, 1000000), 5, 1000000), targets_only=False,
                 events=True, huge_page_programs=[PHASES]),
}

