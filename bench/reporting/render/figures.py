"""The report's figures, drawn by gnuplot: ns per operation against n per
phase or workload, each kind that takes an order against its order, and the
counts. Every figure starts from gnuplot's defaults (`reset`), so none
depends on the one drawn before it. The script is kept beside the figures
(figures.gp), with the data it plots, so that a figure can be drawn again."""
import math
import os
import shutil
import subprocess
import sys

from ..analysis.comparison import Comparison
from ..analysis.where import best_variant
from ..model.catalog import FIND_PAIR
from ..model.goals import percentile_key
from .text import goal_text, size_label, timer_text

# Eight colours told apart also by colour-blind readers, each line with its
# own marker.
COLOURS = ["#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#56B4E9", "#000000",
           "#999999"]


def available():
    if shutil.which("gnuplot") is None:
        print("gnuplot not found: no figures (apt-get install gnuplot-nox)", file=sys.stderr)
        return False
    return True


class Plot:
    """One gnuplot script writing several PNG files into `out`; each figure
    is a title, its settings and its curves, and remembers what it draws."""

    def __init__(self, out):
        self.out = out
        self.data_dir = os.path.join(out, "figures-data")
        os.makedirs(self.data_dir, exist_ok=True)
        self.script = []
        self.drawn = {}  # figure file -> the titles of its curves

    def data(self, name, rows):
        path = os.path.join(self.data_dir, name + ".dat")
        with open(path, "w") as out:
            out.writelines(" ".join(str(x) for x in row) + "\n" for row in rows)
        return os.path.relpath(path, self.out)

    def figure(self, name, settings, plots, titles, height=600):
        """A figure from gnuplot's defaults: `settings` lines, then `plots`."""
        self.script += ["reset",
                        "set terminal pngcairo size 960,%d noenhanced font ',11'" % height,
                        "set output '%s.png'" % name, "set grid", "set key outside right top",
                        "set border 3", "set tics nomirror"] + settings + plots
        self.drawn[name + ".png"] = titles

    def run(self):
        path = os.path.join(self.out, "figures.gp")
        with open(path, "w") as script:
            script.write("\n".join(self.script) + "\n")
        subprocess.run(["gnuplot", "figures.gp"], cwd=self.out, check=True)


def line(path, index, title, using="1:2", dashed=False):
    """The index-th curve, titled `title` (None: untitled); a dashed curve
    has dashes, and beyond the eight colours the lines are dotted."""
    colour = COLOURS[index % len(COLOURS)]
    dashes = " dashtype 2" if dashed else " dashtype 3" if index >= len(COLOURS) else ""
    key = "title '%s'" % title if title is not None else "notitle"
    return "'%s' using %s with linespoints linewidth 2 linecolor rgb '%s'%s pointtype %d " \
           "pointsize 1.3 %s" % (path, using, colour, dashes, index % 13 + 4, key)


def lines_against_n(plot, timings, suite, title, series):
    """series: (title, {n: value}) pairs, drawn against n on log-log axes."""
    curves, titles = [], []
    for index, (name, points) in enumerate(series):
        if points:
            path = plot.data("%s-%d" % (suite, index), sorted(points.items()))
            curves.append(line(path, index, name))
            titles.append(name)
    if not curves:
        return
    sizes = timings.sizes_of(suite)
    unit = timings.catalog.suites.get(suite, {}).get("unit", "operation")
    without = timings.catalog.without_scan(suite)
    if without:
        title += " (no ordered scan: %s)" % ", ".join(without)
    plot.figure(suite, ["set title '%s'" % title, "set logscale xy",
                        "set xlabel 'records (n)'", "set ylabel 'ns per %s (median)'" % unit,
                        "set xrange [%g:%g]" % (sizes[0] / 1.5, sizes[-1] * 1.5),
                        "set xtics (%s)" % ", ".join("'%s' %d" % (size_label(n), n)
                                                     for n in sizes)],
                ["plot " + ", ".join(curves)], titles)


def series(timings, suite, with_program_order=False):
    """Our maps, a kind that takes an order at its best order at each n (and
    at the program's default order when asked), then every other map
    measured, in the catalog's order."""
    catalog = timings.catalog
    sizes = timings.sizes_of(suite)

    def points(name):
        return {n: timings.median(suite, name, n) for n in sizes
                if timings.median(suite, name, n) is not None}

    drawn = []
    for kind in catalog.kinds():
        if not catalog.takes_order(kind):
            drawn += [(name, points(name)) for name in catalog.variants(kind)]
            continue
        if with_program_order:
            default = "%s_%d" % (kind, catalog.facts["program_order"])
            drawn.append((default, points(default)))
        best = {}
        for n in sizes:
            name = best_variant(timings, suite, kind, n)
            if name:
                best[n] = timings.median(suite, name, n)
        drawn.append(("%s, best order" % kind, best))
    drawn += [(name, points(name)) for name in catalog.contenders
              if catalog.role(name) != "ours"]
    return [(title, values) for title, values in drawn if values]


def order_sweep(plot, timings, phases, kind, n):
    """One kind against its order at size n, a line per phase; dashed, its
    peer's time in the same phase."""
    catalog = timings.catalog
    peer = catalog.kind_peer(kind)
    curves, titles = [], []
    for index, phase in enumerate(phases):
        rows = [(catalog.order(name), timings.median(phase, name, n))
                for name in catalog.variants(kind) if timings.median(phase, name, n) is not None]
        if len(rows) < 2:  # one order is no sweep
            continue
        curves.append(line(plot.data("%s-order-%s" % (kind, phase), rows), index,
                           "%s %s" % (kind, phase)))
        titles.append("%s %s" % (kind, phase))
        theirs = timings.median(phase, peer, n)
        if theirs:
            curves.append("%g with lines dashtype 2 linewidth 2 linecolor rgb '%s' title '%s %s'"
                          % (theirs, COLOURS[index], peer, phase))
            titles.append("%s %s" % (peer, phase))
    if curves:
        plot.figure("%s_order" % kind.lower(),
                    ["set title '%s at n=%s against its order; dashed: %s'" % (
                        kind, size_label(n), peer),
                     "set logscale x 2", "set xlabel 'order'",
                     "set ylabel 'ns per operation (median)'", "set yrange [0:*]"],
                    ["plot " + ", ".join(curves)], titles)


def counts_figure(plot, counts, n):
    rows = [r for r in counts.rows if r["n"] == n]
    if not rows:
        return
    measures = ("instructions", "l1_misses", "ll_misses")
    path = plot.data("counts", [(r["name"],) + tuple(r[phase][m] for m in measures
                                                     for phase in ("find", "mix")) for r in rows])
    titles = ["instructions", "L1 data misses", "last-level data misses"]
    plots = []
    for index, title in enumerate(titles):
        find_column, mix_column = 2 + 2 * index, 3 + 2 * index
        plots += ["set ylabel '%s'" % title,
                  "plot '%s' using %d:xtic(1) title 'find' linecolor rgb '%s', '' using %d "
                  "title 'mix' linecolor rgb '%s'" % (path, find_column, COLOURS[0], mix_column,
                                                      COLOURS[1])]
    plot.figure("counts",
                ["set yrange [0:*]",
                 "set multiplot layout 3,1 title 'Per operation at n=%s, %s'" % (
                     size_label(n), counts.caches),
                 "set style data histograms", "set style histogram clustered gap 1",
                 "set style fill solid 0.8 border -1", "set boxwidth 0.9",
                 "set xtics rotate by -30 left", "set xlabel ''", "set key inside top left"],
                plots + ["unset multiplot"], [r["name"] for r in rows], height=900)


def huge_pages_figure(plot, normal, huge, suites, n):
    """Time with huge pages over time without, per map and suite at n, with
    its 95 % interval; below 1, huge pages help."""
    names = [name for name in huge.catalog.contenders
             if any(huge.median(s, name, n) and normal.median(s, name, n) for s in suites)]
    measured = [s for s in suites if any(huge.median(s, name, n) for name in names)]
    if not names or not measured:
        return
    rows = []
    for name in names:
        cells = []
        for suite in measured:
            a, b = normal.samples.get((suite, name, n)), huge.samples.get((suite, name, n))
            r = Comparison(name, name, b, a, huge.labels.get((suite, name, n)),
                           normal.labels.get((suite, name, n))).interval if a and b else None
            cells += [r.estimate, r.low, r.high] if r and r.decided else \
                [r.estimate, r.estimate, r.estimate] if r else ["NaN"] * 3
        rows.append([name] + cells)
    path = plot.data("huge-pages", rows)
    curves = ["'%s' using %d:%d:%d%s title '%s' linecolor rgb '%s'" % (
        path, 2 + 3 * i, 3 + 3 * i, 4 + 3 * i, ":xtic(1)" if i == 0 else "", suite,
        COLOURS[i % len(COLOURS)]) for i, suite in enumerate(measured)]
    plot.figure("huge_pages",
                ["set title 'Time with transparent huge pages / time without, n=%s'"
                 % size_label(n),
                 "set ylabel 'ratio with its 95 % interval (below 1: faster)'",
                 "set yrange [0:*]", "set style data histograms",
                 "set style histogram errorbars gap 1 linewidth 1",
                 "set style fill solid 0.8 border -1", "set boxwidth 0.9",
                 "set xtics rotate by -30 left",
                 "set arrow from graph 0, first 1 to graph 1, first 1 nohead dashtype 2"],
                ["plot " + ", ".join(curves)], names)


def targets_figure(plot, targets):
    """Each timed target's ratio with its 95 % interval, beside its goal:
    met when the whole bar lies left of the goal's mark."""
    timed = [t for t in targets if t.comparison]
    if not timed:
        return
    rows = []
    for index, t in enumerate(reversed(timed)):
        r = t.comparison.interval
        low, high = (r.low, r.high) if r.decided else (r.estimate, r.estimate)
        label = "%s %s n=%s" % (t.name, goal_text(t.goal), size_label(t.n))
        rows.append([index, '"%s"' % label, r.estimate, low, high, t.goal.limit])
    path = plot.data("targets", rows)
    plot.figure("targets",
                ["set title 'Our time over the peer''s, with 95 % intervals; "
                 "crosses: the goals'",
                 "set xlabel 'ratio (below 1: ours is faster)'", "set logscale x",
                 "set ytics scale 0 font ',8'", "set yrange [-1:%d]" % len(rows),
                 "set arrow from first 1, graph 0 to first 1, graph 1 nohead dashtype 2",
                 "set key bottom right", "unset grid", "set grid xtics"],
                ["plot '%s' using 3:1:4:5:ytic(2) with xerrorbars pointtype 7 linecolor rgb '%s' "
                 "title 'ratio', '' using 6:1 with points pointtype 2 pointsize 1.5 "
                 "linecolor rgb '%s' title 'goal'" % (path, COLOURS[0], COLOURS[1])],
                [t.name for t in timed], height=max(400, 18 * len(rows) + 120))


def xposition(percentile):
    """Percentiles spread so that each nine of the tail takes one unit."""
    return -math.log10(1 - float(percentile) / 100)


def percentile_figure(plot, latency, suite, n):
    """Each map's ns per call at every percentile of one latency run."""
    t = latency.timings
    names = [name for name in latency.catalog.contenders if (suite, name, n) in latency.runs]
    curves, titles = [], []
    for index, name in enumerate(names):
        rows = [(xposition(p), t.median(percentile_key(suite, p), name, n))
                for p in latency.percentiles()]
        curves.append(line(plot.data("%s-%d-%s" % (suite, n, name), rows), index, name))
        titles.append(name)
    if not curves:
        return
    tics = ", ".join("'%s' %g" % (p, xposition(p)) for p in ("50", "90", "99", "99.9", "99.99"))
    # Beyond this percentile the machine's own interruptions could make up
    # the tail (the largest share over the maps drawn).
    share = max(latency.machine_share(suite, name, n) for name in names)
    reach = []
    if 0 < share < 1:
        x = -math.log10(share)
        reach = ["set arrow from first %g, graph 0 to first %g, graph 1 nohead dashtype 3 "
                 "linewidth 2 linecolor rgb '#666666'" % (x, x),
                 "set label \"the machine's\\nreach\" at first %g, graph 0.95 offset 0.5,0"
                 % x]
    plot.figure("%s_%s" % (suite, size_label(n)),
                ["set title '%s, n=%s: ns per call at each percentile (%s, included)'" % (
                    latency.workload(suite), size_label(n), timer_text(latency)),
                 "set logscale y", "set xlabel 'percentile'", "set ylabel 'ns per call'",
                 "set xtics (%s)" % tics, "set xrange [0.25:4.1]"] + reach,
                ["plot " + ", ".join(curves)], titles)


def size_axis(sizes):
    """An axis of record counts, each labelled as "1e4"."""
    return ["set xrange [%g:%g]" % (sizes[0] / 1.5, sizes[-1] * 1.5),
            "set xtics (%s)" % ", ".join("'%s' %d" % (size_label(n), n) for n in sizes)]


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
            path = plot.data("finds-%s-%s" % (suite, name), points)
            curves.append(line(path, index, None if dashed else name, dashed=dashed))
            if not dashed:
                titles.append(name)
    if not curves:
        return
    plot.figure("finds_dependent",
                ["set title 'Finds: independent (solid) and dependent on the previous result "
                 "(dashed)'", "set logscale xy", "set xlabel 'records (n)'",
                 "set ylabel 'ns per find (median)'"] + size_axis(sizes),
                ["plot " + ", ".join(curves)], titles)


def round_trip_figure(plot, workloads, round_trips):
    """Each map's dependent find in round trips of the machine's memory at
    its size (`round_trips`: {n: ns}), against n."""
    dependent = FIND_PAIR[1]
    sizes = [n for n in workloads.sizes_of(dependent) if n in round_trips]
    curves, titles = [], []
    for index, name in enumerate(workloads.names(dependent)):
        points = [(n, workloads.median(dependent, name, n) / round_trips[n]) for n in sizes
                  if workloads.median(dependent, name, n)]
        if points:
            curves.append(line(plot.data("round-trips-%s" % name, points), index, name))
            titles.append(name)
    if not curves:
        return
    plot.figure("round_trips",
                ["set title 'Dependent finds in round trips of the machine''s memory at their "
                 "size'", "set logscale x", "set xlabel 'records (n)'",
                 "set ylabel 'round trips per find (median)'",
                 "set yrange [0:*]"] + size_axis(sizes),
                ["plot " + ", ".join(curves)], titles)
