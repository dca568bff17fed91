"""The goals of our maps against their peers, judged: for each goal and
size, one variant of the kind stands for it, with its ratio to the peer and
the outcome. For a count or a weight it is the kind's best; for a time, the
one chosen before the run (standing), else the run's best median."""
import math
from dataclasses import dataclass
from typing import Optional

from ..model.goals import BYTES, Goal
from .comparison import Comparison, compare
from .stats import NO_SPREAD, projected_half_width

MET, MISSED, UNDECIDED, NO_INTERVAL, NOT_MEASURED, MACHINE = (
    "met", "missed", "undecided", "no interval", "not measured", "the machine's")
# Two sets of times that each repeat one value: nothing to judge a difference
# against, so the target is not judged.
NOT_JUDGED = "not judged: no spread"


def outcome(ratio, goal, interval=None):
    """A timed measure is met when its whole interval lies within the goal,
    missed when it lies wholly beyond it, and undecided when it straddles
    it; counts and weights, which carry no noise, by their value."""
    if ratio is None:
        return NOT_MEASURED
    if interval is None:
        return MET if ratio <= goal + 1e-9 else MISSED
    if not interval.decided:
        return NOT_JUDGED if interval.reason == NO_SPREAD else NO_INTERVAL
    if interval.high <= goal:
        return MET
    if interval.low > goal:
        return MISSED
    return UNDECIDED


@dataclass
class Target:
    name: str        # the variant that stands for the kind (or the kind)
    goal: Goal
    n: int
    ratio: Optional[float]
    # A timed goal's comparison; a count or weight has the two values.
    comparison: Optional[Comparison] = None
    mine: Optional[float] = None
    theirs: Optional[float] = None
    # A percentile of the calls that the machine's own interruptions could
    # make up, in our runs or the peer's: not judged.
    machines: bool = False

    @property
    def peer(self):
        return self.goal.peer

    @property
    def measure(self):
        return self.goal.key

    @property
    def outcome(self):
        if self.machines:
            return MACHINE
        return outcome(self.ratio, self.goal.limit,
                       self.comparison.interval if self.comparison else None)


# A second look is worth its repetitions when the estimate lies at least
# this share of the projected half-width away from the goal: the estimate
# then need move no more than half its own uncertainty for the interval to
# clear the goal. Closer, another look seldom decides, and at 1e7 a look
# costs minutes; leaving it out can only lower the chance of a wrong outcome.
WORTH_A_LOOK = 0.5


def may_decide(target, more):
    """Whether `more` further repetitions of both maps may decide an
    undecided timed target (see WORTH_A_LOOK)."""
    interval = target.comparison.interval if target.comparison else None
    if not (more and interval and interval.decided):
        return False
    now = min(target.comparison.repetitions)
    distance = abs(math.log(interval.estimate / target.goal.limit))
    return distance >= WORTH_A_LOOK * projected_half_width(interval, now, more)


def best(candidates):
    """The (value, name) with the smallest value, ignoring missing ones."""
    present = [(value, name) for value, name in candidates if value is not None]
    return min(present) if present else (None, None)


def judge(timings, memory, counts, goal, n, reached=None):
    """One goal at one size, or None when it was not measured, or when an
    interrupted run lacks its data. `reached(goal, map, n)` tells whether
    the machine reaches a percentile of a map's calls."""
    variants = timings.catalog.variants(goal.kind)
    if goal.statistic == BYTES:
        if not memory:
            return None
        mine, name = best((memory.get(v, n), v) for v in variants)
        theirs = memory.get(goal.peer, n)
        ratio = mine / theirs if mine and theirs else None
        return Target(name or goal.kind, goal, n, ratio, mine=mine, theirs=theirs)
    if not goal.timed:
        if not counts:
            return None
        ratio, name = best((counts.ratio(v, n, goal.suite, goal.peer, goal.statistic), v)
                           for v in variants)
        return Target(name or goal.kind, goal, n, ratio,
                      mine=counts.get(name, n, goal.suite, goal.statistic) if name else None,
                      theirs=counts.get(goal.peer, n, goal.suite, goal.statistic))
    if any((goal.run_suite, v, n) in timings.lacking for v in variants + [goal.peer]):
        return None
    name = timings.standing.get((goal.kind, goal.key, n))
    if timings.median(goal.key, name, n) is None:
        _, name = best((timings.median(goal.key, v, n), v) for v in variants)
    c = compare(timings, goal.key, name, n, goal.peer) if name else None
    if c is None:
        return None
    machines = bool(reached) and (reached(goal, name, n) or reached(goal, goal.peer, n))
    return Target(name, goal, n, c.ratio, comparison=c, machines=machines)


def judged_sizes(timings):
    """The target sizes that were measured or, when none was, every size
    measured: a run aimed at other sizes still hears how its maps fare."""
    measured = [n for n in timings.catalog.targets["sizes"] if n in timings.sizes]
    return measured or timings.sizes


def goal_sizes(timings, goal):
    """The sizes of a goal that has its own, where measured; else the
    judged sizes."""
    own = [n for n in goal.sizes if n in timings.sizes_of(goal.key)]
    return own or judged_sizes(timings)


def judge_all(timings, memory, counts, reached=None):
    """Every goal of the catalog at every judged size that was measured."""
    targets = []
    for goal in timings.catalog.targets["goals"]:
        for n in goal_sizes(timings, goal):
            target = judge(timings, memory, counts, goal, n, reached)
            if target and target.outcome != NOT_MEASURED:
                targets.append(target)
    return targets


def standing(results):
    """The variant that stood for each kind at each timed goal and size of a
    run, as standing.json keeps it. A later run judges its kinds on these:
    chosen on this run's data, so that the later run's own noise does not
    pick whichever order was luckiest in it (that would bias its ratio
    down and leave its interval as narrow)."""
    judged = results.judged()
    if not judged:
        return []
    return [{"kind": t.goal.kind, "suite": t.goal.run_suite, "measure": t.goal.key, "n": t.n,
             "name": t.name}
            for t in judge_all(judged, results.memory, results.counts, results.reached)
            if t.comparison]
