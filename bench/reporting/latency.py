"""What one operation costs: the percentiles of map_latency's runs (one
document per repetition), the structural steps of map_events beside them,
and the dependent finds beside the independent ones. Each percentile
becomes a measure of its own, "mix_latency_p99.9", in a Timings whose
samples are the repetitions' values, so the targets, verdicts and "which
map where" logic of the other suites serve it unchanged."""
import math
import statistics

from . import figures
from .markdown import kind_cell, markdown_table, where_rows
from .plan import FIND_PAIR
from .results import Timings, ns, size_label

PROGRAM = "map_latency"
# The percentiles of the tables (map_latency writes more, for the figures).
TABLE_PERCENTILES = ["50", "90", "99", "99.9", "99.99"]
# The percentile the "which map where" tables and the goals look at.
TAIL = "99.9"


def measure(suite, percentile):
    """"mix_latency_p99.9"; "mix_latency_max" for the maximum."""
    return "%s_%s" % (suite, "max" if percentile == "max" else "p" + percentile)


class Latency:
    """The runs of every repetition, by (suite, map, n)."""

    def __init__(self, documents, catalog):
        self.catalog = catalog
        self.repetitions = len(documents)
        self.ticks_per_ns = statistics.median(d["ticks_per_ns"] for d in documents)
        self.invariant_tsc = all(d.get("invariant_tsc") for d in documents)
        self.operations = documents[0]["operations"]
        self.timer = {p: statistics.median(d["timer"]["percentiles"][p] for d in documents)
                      for p in documents[0]["timer"]["percentiles"]}
        self.runs = {}  # (suite, map, n) -> [run of each repetition]
        for document in documents:
            for run in document["runs"]:
                suite, name, n = run["name"].split("/")
                self.runs.setdefault((suite, name, int(n)), []).append(run)
        self.suites = [s for s in catalog.suites_of(PROGRAM) if any(k[0] == s for k in self.runs)]
        self.timings = self.as_timings()

    def percentiles(self):
        """Every percentile the runs carry, ascending, as text."""
        first = next(iter(self.runs.values()))[0]
        return sorted(first["percentiles"], key=float)

    def as_timings(self):
        timings = Timings([{"benchmarks": []}], self.catalog)
        for (suite, name, n), runs in self.runs.items():
            for percentile in self.percentiles() + ["max"]:
                key = measure(suite, percentile)
                values = [r["max"] if percentile == "max" else r["percentiles"][percentile]
                          for r in runs]
                timings.samples[(key, name, n)] = values
                if key not in timings.suites:
                    timings.suites.append(key)
        timings.sizes = sorted({n for _, _, n in timings.samples})
        return timings

    def timer_text(self):
        return "timer %s ns" % ns(self.timer["50"])


def cell(samples):
    """"412" or "412 ±3%": the median and half the range over the
    repetitions, relative to it."""
    median = statistics.median(samples)
    if len(samples) < 2 or median == 0:
        return ns(median)
    return "%s ±%.0f%%" % (ns(median), 50 * (max(samples) - min(samples)) / median)


def percentile_tables(latency):
    lines = []
    t = latency.timings
    for suite in latency.suites:
        for n in sorted({k[2] for k in latency.runs if k[0] == suite}):
            header = ["map"] + ["p" + p for p in TABLE_PERCENTILES] + ["max"]
            rows = [header]
            for name in t.names(measure(suite, "50")):
                cells = [cell(t.samples[(measure(suite, p), name, n)])
                         if (measure(suite, p), name, n) in t.samples else ""
                         for p in TABLE_PERCENTILES + ["max"]]
                if any(cells):
                    rows.append([name] + cells)
            lines += ["", "#### %s, n=%s: ns per call (%s)" % (suite, size_label(n),
                                                              latency.timer_text()), ""]
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
    for suite, n, medians, c in where_rows(t, [measure(s, TAIL) for s in latency.suites]):
        cells = [suite.rsplit("_latency", 1)[0], size_label(n)]
        cells += [kind_cell(catalog, medians, k) for k in kinds]
        cells += [c.ours, c.peer, ns(c.peer_median), "%.2f" % c.ratio,
                  "%s (%s)" % (c.verdict, c.test_text())] if c else [""] * 5
        rows.append(cells)
    first = 2 + len(kinds)
    return markdown_table(rows, numeric=list(range(2, first)) + [first + 2, first + 3])


def tail_cell(latency, suite, name, n):
    """The p99.9 of a map in the latency run of a workload, if there is one."""
    samples = latency.timings.samples.get((measure(suite + "_latency", TAIL), name, n))
    return ns(statistics.median(samples)) if samples else ""


def events_table(events):
    """Each counted run: the calls' p50 and p99, and for each structural
    step (and for no step) its share of all calls against its share of the
    slowest 1 % and 0.1 %, and the median time of the calls that took it."""
    rows = [["workload", "map", "n", "p50 ns", "p99 ns", "page faults", "step",
             "share of all calls", "of the slowest 1 %", "of the slowest 0.1 %",
             "p50 ns of these calls", "per call", "per slow call"]]
    for run in events["runs"]:
        workload, name, n = run["name"].split("/")
        for step, shares in run["events"].items():
            counted = ["%.3g" % shares["mean"], "%.3g" % shares["slow_mean"]] \
                if "mean" in shares else ["", ""]
            rows.append([workload, name, size_label(int(n)), ns(run["p50"]), ns(run["p99"]),
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


def xposition(percentile):
    """Percentiles spread so that each nine of the tail takes one unit."""
    return -math.log10(1 - float(percentile) / 100)


def percentile_figure(plot, latency, suite, n):
    t = latency.timings
    names = [name for name in latency.catalog.contenders if (suite, name, n) in latency.runs]
    curves, titles = [], []
    for index, name in enumerate(names):
        rows = [(xposition(p), t.median(measure(suite, p), name, n))
                for p in latency.percentiles()]
        curves.append(figures.line(plot.data("%s-%d-%s" % (suite, n, name), rows), index, name))
        titles.append(name)
    if not curves:
        return
    tics = ", ".join("'%s' %g" % (p, xposition(p)) for p in ("50", "90", "99", "99.9", "99.99"))
    plot.figure("%s_%s" % (suite, size_label(n)),
                ["set title '%s, n=%s: ns per call at each percentile (%s, included)'" % (
                    suite.rsplit("_latency", 1)[0], size_label(n), latency.timer_text()),
                 "set logscale y", "set xlabel 'percentile'", "set ylabel 'ns per call'",
                 "set xtics (%s)" % tics, "set xrange [0.25:4.1]"],
                ["plot " + ", ".join(curves)], titles)


def find_pair_figure(plot, workloads):
    """Independent finds (solid) and dependent ones (dashed, same colour)
    against n, every map."""
    independent, dependent = FIND_PAIR
    sizes = workloads.sizes_of(dependent)
    curves, titles = [], []
    for index, name in enumerate(workloads.names(dependent)):
        for suite, dashed in ((independent, False), (dependent, True)):
            points = sorted((n, workloads.median(suite, name, n)) for n in sizes
                            if workloads.median(suite, name, n))
            if not points:
                continue
            curve = figures.line(plot.data("finds-%s-%s" % (suite, name), points), index, name)
            if dashed:
                curve = curve.replace(" dashtype 3", "").replace("title '%s'" % name,
                                                                  "dashtype 2 notitle")
            else:
                titles.append(name)
            curves.append(curve)
    if not curves:
        return
    plot.figure("finds_dependent",
                ["set title 'Finds: independent (solid) and dependent on the previous result "
                 "(dashed)'", "set logscale xy", "set xlabel 'records (n)'",
                 "set ylabel 'ns per find (median)'",
                 "set xrange [%g:%g]" % (sizes[0] / 1.5, sizes[-1] * 1.5),
                 "set xtics (%s)" % ", ".join("'%s' %d" % (size_label(n), n) for n in sizes)],
                ["plot " + ", ".join(curves)], titles)


def draw(plot, latency, workloads):
    """The percentile figures (the mix at every size, the other workloads at
    their largest) and the dependent-find figure."""
    if latency:
        for suite in latency.suites:
            sizes = sorted({k[2] for k in latency.runs if k[0] == suite})
            for n in sizes if suite == "mix_latency" else sizes[-1:]:
                percentile_figure(plot, latency, suite, n)
    if workloads and all(s in workloads.suites for s in FIND_PAIR):
        find_pair_figure(plot, workloads)


def lines(latency, events, workloads, pictures):
    text = ["", "## What one operation costs", ""]
    if latency:
        text += ["Every map call of a run timed on its own with the processor's time-stamp "
                 "counter (%s; `lfence; rdtsc; lfence` before the call, `rdtscp; lfence` after "
                 "it), %.2f ticks per ns, calibrated against the monotonic clock. The timer's own cost, two readings around nothing: p50 %s ns, p99 %s "
                 "ns; every figure includes it. %d calls per run (the fill and the insertion "
                 "workloads on fresh maps until there are as many); the draws come before the "
                 "first reading. Each process first grows its heap to 256 MiB and keeps it, so "
                 "that no run pays page faults that a run before it in the same process would "
                 "have paid. Percentiles from a log-bucketed histogram within 0.8 %% of the "
                 "sample of their rank. Each cell: the median over %d repetition%s (one process "
                 "each, runs in shuffled order) ± half their range." % (
                     "invariant" if latency.invariant_tsc else "rate not known to be constant",
                     latency.ticks_per_ns, ns(latency.timer["50"]), ns(latency.timer["99"]),
                     latency.operations, latency.repetitions,
                     "" if latency.repetitions == 1 else "s"), ""]
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
    return text
