"""How much of its last-level cache the host left the machine while a run
ran, from the chase over half that cache before each round: on a host whose
other tenants share the cache, a lap of it takes a few ns a load one second
and a round trip to memory the next, and maps about the cache's size slow
with it, a map that reads more lines a lookup the more."""
import statistics

from ..analysis import stats
from ..analysis.comparison import BETTER, WORSE, Comparison
from ..render.text import bytes_text, interval_text, ns

# A lap that takes more than twice the run's fastest ran while the host
# had taken much of the cache: a lap over half the cache, when the cache is
# this machine's, costs about a hit in it (13 to 19 ns on the committed
# run's machine); one that costs more than two went to memory for many of
# its loads.
TAKEN = 2.0


def round_means(machine):
    """The mean ns a load of each round's laps."""
    return [statistics.fmean(laps) for _, _, laps in machine.cache_probe()]


def probe_lines(machine):
    """A paragraph on the chase before each round, or nothing without one."""
    probes = machine.cache_probe()
    if not probes:
        return []
    laps = [lap for _, _, round_laps in probes for lap in round_laps]
    fastest = min(laps)
    taken = sum(1 for lap in laps if lap > TAKEN * fastest)
    return ["**The cache the host left.** Before each of the %d rounds, %d laps of a chase over "
            "half the last-level cache (%s): %s ns a load on average, a lap from %s to %s ns; "
            "%d of %d laps took more than twice the fastest, the host's other tenants "
            "having taken much of the cache meanwhile. Maps about the cache's size slow while "
            "they do, a map that reads more lines a lookup the more, so their ratios move "
            "with it." % (len(probes), len(probes[0][2]), bytes_text(probes[0][1]),
                          ns(statistics.fmean(laps)), ns(fastest), ns(max(laps)), taken,
                          len(laps)), ""]


def against_reference_lines(machine, reference, what):
    """A paragraph when the host left this run clearly more or less of the
    cache than it left the reference's run on the same machine: the ratio
    of the rounds' mean laps, with its interval, from the report's one
    procedure."""
    if reference is None or machine.differences(reference):
        return []
    ours, theirs = round_means(machine), round_means(reference)
    if len(ours) < 2 or len(theirs) < 2:
        return []
    try:
        comparison = Comparison("this run", what, ours, theirs)
    except stats.BadSample:
        return []
    if comparison.verdict not in (BETTER, WORSE):
        return []
    less = comparison.verdict == WORSE
    return ["**%s cache than %s.** The chase over half the last-level cache before each round "
            "took %s times as long a load as in the run of %s (%s ns on average against %s): "
            "the host left this run %s of its cache. Ratios of maps about the cache's size "
            "(finds at 1e6, above all) need not agree with those of %s." % (
                "Less" if less else "More", what, interval_text(comparison), what,
                ns(statistics.fmean(ours)), ns(statistics.fmean(theirs)),
                "less" if less else "more", what), ""]
