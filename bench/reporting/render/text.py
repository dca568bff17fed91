"""The wording of numbers, sizes, measures and verdicts, the same in every
table and line of the report, bench/compare and bench/counts."""
from ..model.goals import BYTES, INSTRUCTIONS, L1_MISSES, PERCENTILE, TIME


def ns(value):
    """"41.2", or "0.46" for the fractions of a nanosecond a walk takes per
    entry: two decimals below 10."""
    return "%.1f" % value if value >= 10 else "%.2f" % value


def size_label(n):
    """"1e4" for 10000; other counts as they are."""
    text = str(n)
    return "1e%d" % (len(text) - 1) if text.strip("0") == "1" else text


def sizes_text(sizes):
    return " and ".join(size_label(n) for n in sizes)


def test_text(comparison):
    """"p<0.001", "p=0.034", "one run" or "no spread"."""
    if comparison.p is None:
        return "one run" if min(comparison.repetitions) == 1 else comparison.interval.reason
    return "p<0.001" if comparison.p < 0.001 else "p=%.3f" % comparison.p


def interval_text(comparison):
    """"0.71 [0.66, 0.77]": the ratio and its 95 % interval; the ratio alone
    when the repetitions are too few for an interval (the verdict, untested,
    says so)."""
    r = comparison.interval
    if not r.decided:
        return "%.2f" % r.estimate
    return "%.2f [%.2f, %.2f]" % (r.estimate, r.low, r.high)


def ratio_verdict(comparison):
    """"0.71 [0.66, 0.77], better"."""
    return "%s, %s" % (interval_text(comparison), comparison.verdict)


def verdict_text(comparison):
    """"better (p<0.001)"."""
    return "%s (%s)" % (comparison.verdict, test_text(comparison))


def comparison_text(comparison):
    """"0.71 [0.66, 0.77], better (p<0.001; 35.3 vs 85.2 ns)"."""
    return "%s (%s; %s vs %s ns)" % (ratio_verdict(comparison), test_text(comparison),
                                    ns(comparison.our_median), ns(comparison.peer_median))


# How each statistic of a goal reads after its suite's name.
STATISTIC_TEXT = {TIME: "%s time", INSTRUCTIONS: "%s instructions/op",
                  L1_MISSES: "%s L1 misses/op", BYTES: "heap bytes per entry"}


def goal_text(goal):
    """"find time", "heap bytes per entry", "find instructions/op",
    "mix p99.9 latency"."""
    if goal.statistic == PERCENTILE:
        return "%s p%s latency" % (goal.suite, goal.percentile)
    text = STATISTIC_TEXT[goal.statistic]
    return text % goal.suite if "%s" in text else text


def round_trip_text(time, round_trip):
    """"460 ns, 1.8 round trips of 253 ns": a time in the machine's memory
    round trips at its size."""
    return "%s ns, %.1f round trips of %s ns" % (ns(time), time / round_trip, ns(round_trip))


def bytes_text(count):
    """"320 KB", "32 MB": a working set in decimal units."""
    for unit, scale in (("GB", 1e9), ("MB", 1e6), ("KB", 1e3)):
        if count >= scale:
            return "%.0f %s" % (count / scale, unit)
    return "%d bytes" % count


def target_ratio(target):
    """"0.71 [0.66, 0.77], better" for a timed target, "0.83" for a count or
    weight."""
    return ratio_verdict(target.comparison) if target.comparison else "%.2f" % target.ratio


def target_cells(target):
    """A judged target as the cells of the targets table."""
    if target.comparison:
        ratio = comparison_text(target.comparison)
    elif target.goal.statistic == BYTES:
        ratio = "%.2f (%.1f vs %.1f bytes)" % (target.ratio, target.mine, target.theirs)
    else:
        ratio = "%.2f (%.0f vs %.0f)" % (target.ratio, target.mine, target.theirs)
    return [target.name, target.peer, goal_text(target.goal), size_label(target.n), ratio,
            "≤ %.1f" % target.goal.limit, target.outcome]


TARGET_HEADER = ["map", "peer", "measure", "n",
                 "ratio [95 % interval], verdict (test; medians)", "goal", "outcome"]


def timer_text(latency):
    """"timer 20.9 ns": the per-call timer's own median cost."""
    return "timer %s ns" % ns(latency.timer["50"])
