"""The report's section on what one operation costs: the percentiles of
map_latency's runs, the structural steps of map_events beside them, and the
dependent finds beside the independent ones."""
import statistics

from ..analysis.where import where_rows
from ..model import run_name
from ..model.catalog import FIND_PAIR
from ..model.goals import LATENCY_SUFFIX, percentile_key
from ..render import figures
from ..render.table import markdown_table
from ..render.text import interval_text, ns, size_label, timer_text, verdict_text
from .tables import kind_cell

# The percentiles of the tables (map_latency writes more, for the figures).
TABLE_PERCENTILES = ["50", "90", "99", "99.9", "99.99"]
# The percentile the "which map where" tables and the goals look at.
TAIL = "99.9"


def cell(samples):
    """"412" or "412 ±3%": the median and half the range over the
    repetitions, relative to it."""
    median = statistics.median(samples)
    if len(samples) < 2 or median == 0:
        return ns(median)
    return "%s ±%.0f%%" % (ns(median), 50 * (max(samples) - min(samples)) / median)


# Marks a percentile that the machine's interruptions could make up.
MACHINE_MARK = "†"


def marked(latency, suite, name, n, percentile, text):
    reaches = percentile == "max" or latency.reached(suite, name, n, percentile)
    return text + " " + MACHINE_MARK if text and reaches else text


def percentile_tables(latency):
    lines = []
    t = latency.timings
    for suite in latency.suites:
        for n in latency.sizes_of(suite):
            header = ["map"] + ["p" + p for p in TABLE_PERCENTILES] + ["max"]
            rows = [header]
            for name in t.names(percentile_key(suite, "50")):
                cells = [marked(latency, suite, name, n, p,
                                cell(t.samples[(percentile_key(suite, p), name, n)]))
                         if (percentile_key(suite, p), name, n) in t.samples else ""
                         for p in TABLE_PERCENTILES + ["max"]]
                if any(cells):
                    rows.append([name] + cells)
            lines += ["", "#### %s, n=%s: ns per call (%s)" % (suite, size_label(n),
                                                              timer_text(latency)), ""]
            lines += markdown_table(rows, numeric=list(range(1, len(header))))
    return lines


def tail_where_table(latency):
    """For each workload and size: each kind's best p99.9, the lowest p99.9
    of ours against the lowest of the ordered peers, with the verdict."""
    t = latency.timings
    catalog = latency.catalog
    kinds = catalog.kinds()
    header = (["workload", "n"] + ["%s p%s ns" % (k, TAIL) for k in kinds] +
              ["lowest of ours", "lowest ordered peer", "p%s ns" % TAIL, "ratio", "verdict"])
    rows = [header]
    rows_of = [(run_suite, row) for run_suite in latency.suites
               for row in where_rows(t, [percentile_key(run_suite, TAIL)])]
    for run_suite, (_, n, medians, c) in rows_of:
        cells = [latency.workload(run_suite), size_label(n)]
        cells += [marked(latency, run_suite, medians[k][1], n, TAIL, kind_cell(catalog, medians, k))
                  if k in medians else "" for k in kinds]
        machines = c and (latency.reached(run_suite, c.ours, n, TAIL) or
                          latency.reached(run_suite, c.peer, n, TAIL))
        cells += [c.ours, c.peer, ns(c.peer_median), interval_text(c),
                  "the machine's" if machines else verdict_text(c)] if c else [""] * 5
        rows.append(cells)
    first = 2 + len(kinds)
    return markdown_table(rows, numeric=list(range(2, first)) + [first + 2, first + 3])


def operation_tables(latency):
    """For each mix whose calls were counted by operation: per map and
    operation, the median over the repetitions of p50, p99 and p99.9."""
    lines = []
    shown = ["50", "99", TAIL]
    for suite in latency.suites:
        for n in latency.sizes_of(suite):
            rows = [["map", "operation"] + ["p%s ns" % p for p in shown]]
            for name in latency.timings.names(percentile_key(suite, "50")):
                for operation, runs in sorted(latency.by_operation(suite, name, n).items()):
                    rows.append([name, operation] + [
                        ns(statistics.median(r[p] for r in runs)) for p in shown])
            if len(rows) > 1:
                lines += ["", "#### %s, n=%s: ns per call by operation (%s)" % (
                    suite, size_label(n), timer_text(latency)), ""]
                lines += markdown_table(rows, numeric=[2, 3, 4])
    return lines


def tail_cell(latency, suite, name, n):
    """The p99.9 of a map in the latency run of a workload, if there is one."""
    samples = latency.timings.samples.get((percentile_key(suite + LATENCY_SUFFIX, TAIL), name,
                                           n))
    return ns(statistics.median(samples)) if samples else ""


def events_table(events):
    """Each counted run: the calls' p50 and p99, and for each structural
    step (and for no step) its share of all calls against its share of the
    slowest 1 % and 0.1 %, and the median time of the calls that took it."""
    rows = [["workload", "map", "n", "p50 ns", "p99 ns", "page faults", "step",
             "share of all calls", "of the slowest 1 %", "of the slowest 0.1 %",
             "p50 ns of these calls", "per call", "per slow call"]]
    for run in events["runs"]:
        workload, name, n = run_name.parse(run["name"])
        for step, shares in run["events"].items():
            counted = ["%.3g" % shares["mean"], "%.3g" % shares["slow_mean"]] \
                if "mean" in shares else ["", ""]
            rows.append([workload, name, size_label(n), ns(run["p50"]), ns(run["p99"]),
                         str(run.get("page_faults", "")), step,
                         "%.2f %%" % (100 * shares["share"]),
                         "%.1f %%" % (100 * shares["slow_share"]),
                         "%.1f %%" % (100 * shares["tail_share"]), ns(shares["p50"])] + counted)
    return markdown_table(rows, numeric=[2, 3, 4, 5] + list(range(7, 13)))


def find_pair_table(workloads):
    """ns per find, independent and dependent, per map and size."""
    independent, dependent = FIND_PAIR
    sizes = workloads.sizes_of(dependent)
    header = ["map"] + ["n=%s indep. / dep." % size_label(n) for n in sizes]
    rows = [header]
    for name in workloads.names(dependent):
        cells = []
        for n in sizes:
            a, b = workloads.median(independent, name, n), workloads.median(dependent, name, n)
            cells.append("%s / %s" % (ns(a), ns(b)) if a and b else "")
        rows.append([name] + cells)
    return markdown_table(rows, numeric=list(range(1, len(header))))


def draw(plot, latency, workloads):
    """The percentile figures (the mix at every size, the other workloads at
    their largest) and the dependent-find figure."""
    if latency:
        for suite in latency.suites:
            sizes = latency.sizes_of(suite)
            for n in sizes if suite == "mix_latency" else sizes[-1:]:
                figures.percentile_figure(plot, latency, suite, n)
    if workloads and all(s in workloads.suites for s in FIND_PAIR):
        figures.find_pair_figure(plot, workloads)


def lines(latency, events, workloads, pictures):
    text = ["", "## What one operation costs", ""]
    if latency:
        text += ["Every map call of a run timed on its own with the processor's time-stamp "
                 "counter (%s; `lfence; rdtsc; lfence` before the call, `rdtscp; lfence` after "
                 "it), %.2f ticks per ns, calibrated against the monotonic clock. The timer's "
                 "own cost, two readings around nothing: p50 %s ns, p99 %s "
                 "ns; every figure includes it. %d calls per run (the fill and the insertion "
                 "workloads on fresh maps until there are as many); the draws come before the "
                 "first reading. Each process first touches heap enough for its largest map "
                 "(160 bytes an entry) and keeps it, so that no call pays for a page touched "
                 "the first time; from 1e6 on, a process runs one map in one workload. "
                 "Percentiles from a log-bucketed histogram within 0.8 %% of the "
                 "sample of their rank. Each cell: the median over %d repetition%s (one process "
                 "each below 1e6, its runs in shuffled order) ± half their range. %s marks a percentile that "
                 "the machine could make up on its own: every run records the interrupts (of "
                 "every CPU) and the switches to other tasks during its calls, each of which "
                 "lands in one call at most, and when they number at least the calls beyond "
                 "the percentile, that percentile may be the machine's tail rather than the "
                 "map's. The maximum is always the machine's. Goals on such a percentile are "
                 "not judged." % (
                     "invariant" if latency.invariant_tsc else "rate not known to be constant",
                     latency.ticks_per_ns, ns(latency.timer["50"]), ns(latency.timer["99"]),
                     latency.operations, latency.repetitions,
                     "" if latency.repetitions == 1 else "s", MACHINE_MARK), ""]
    text += ["![%s](%s)" % (p[:-4], p) for p in pictures]
    if latency:
        text += ["", "### Which map where, by p%s" % TAIL, ""] + tail_where_table(latency)
    if events:
        text += ["", "### Where the slow calls go", "",
                 "The maps built to count their structural steps (map_events, a build of "
                 "its own: the timed programs count nothing), the same calls timed, %d per "
                 "run. A step's share of all calls beside its share of the slowest 1 %% and "
                 "0.1 %% of the calls shows whether the step makes the tail; \"none\" is the "
                 "calls that took no step, whose tail is the memory's and the machine's. Page "
                 "faults: minor faults during the timed calls." % events["runs"][0]["calls"],
                 ""] + events_table(events)
    if workloads and all(s in workloads.suites for s in FIND_PAIR):
        text += ["", "### Dependent finds beside independent ones", "",
                 "The same keys in the same order; a dependent find's key is chosen from the "
                 "record the previous find returned, so no two finds overlap.", ""]
        text += find_pair_table(workloads)
    if latency:
        text += ["", "### Percentiles per workload"] + percentile_tables(latency)
        by_operation = operation_tables(latency)
        if by_operation:
            text += ["", "### The core workloads' calls by operation", "",
                     "Each call of a mix timed and counted under its operation too: a find, a "
                     "miss, an insertion, an erasure, an update (a find and a write of its "
                     "record), a read-modify-write or a scan. The median over the "
                     "repetitions."] + by_operation
    return text
