"""The report's figures, drawn by gnuplot: ns per operation against n per
phase or workload, the B-tree against its order, and the counts."""
import os
import shutil
import subprocess
import sys
import tempfile

from .results import size_label

# Eight colours told apart also by colour-blind readers, each line with its
# own marker.
COLOURS = ["#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#56B4E9", "#000000",
           "#999999"]
HEADER = ["set terminal pngcairo size 960,600 noenhanced font ',11'", "set grid",
          "set key outside right top", "set border 3", "set tics nomirror"]


def available():
    if shutil.which("gnuplot") is None:
        print("gnuplot not found: no figures (apt-get install gnuplot-nox)", file=sys.stderr)
        return False
    return True


class Plot:
    """One gnuplot run writing several PNG files; data goes through files."""

    def __init__(self):
        self.dir = tempfile.mkdtemp()
        self.script = list(HEADER)
        self.files = 0

    def data(self, rows):
        self.files += 1
        path = os.path.join(self.dir, "%d.dat" % self.files)
        with open(path, "w") as out:
            out.writelines(" ".join(str(x) for x in row) + "\n" for row in rows)
        return path

    def run(self):
        subprocess.run(["gnuplot"], input="\n".join(self.script) + "\n", text=True, check=True)
        shutil.rmtree(self.dir)


def line(path, index, title, using="1:2"):
    colour = COLOURS[index % len(COLOURS)]
    return "'%s' using %s with linespoints linewidth 2 linecolor rgb '%s' pointtype %d " \
           "pointsize 1.3 title '%s'" % (path, using, colour, index % 8 + 4, title)


def lines_against_n(plot, timings, suite, out_path, title, series):
    """series: (title, {n: value}) pairs, drawn against n on log-log axes."""
    curves = []
    for index, (name, points) in enumerate(series):
        rows = sorted(points.items())
        if rows:
            curves.append(line(plot.data(rows), index, name))
    if not curves:
        return
    sizes = timings.sizes_of(suite)
    plot.script += ["set output '%s'" % out_path, "set title '%s'" % title,
                    "set logscale xy", "set xlabel 'records (n)'",
                    "set ylabel 'ns per operation (median)'",
                    "set xrange [%g:%g]" % (sizes[0] / 1.5, sizes[-1] * 1.5),
                    "set xtics (%s)" % ", ".join("'%s' %d" % (size_label(n), n) for n in sizes),
                    "plot " + ", ".join(curves)]


def phase_series(timings, suite, lines_of_ours):
    """Our maps (the B-tree at its best order at each n) and the peers."""
    series = []
    for name in lines_of_ours:
        if name == "BTree":
            points = {}
            for n in timings.sizes:
                best = timings.best_btree(suite, n)
                if best:
                    points[n] = timings.median(suite, best, n)
            series.append(("BTree, best order", points))
        else:
            series.append((name, {n: timings.median(suite, name, n) for n in timings.sizes
                                  if timings.median(suite, name, n) is not None}))
    for peer in ["sorted_vector", "std_map", "absl_btree_map", "std_unordered_map", "floor"]:
        points = {n: timings.median(suite, peer, n) for n in timings.sizes
                  if timings.median(suite, peer, n) is not None}
        if points:
            series.append((peer, points))
    return series


def order_sweep(plot, timings, phases, n, peer, out_path):
    curves = []
    for index, phase in enumerate(phases):
        rows = [(o, timings.median(phase, "BTree_%d" % o, n)) for o in timings.orders(phase)
                if timings.median(phase, "BTree_%d" % o, n) is not None]
        if not rows:
            continue
        curves.append(line(plot.data(rows), index, "BTree " + phase))
        theirs = timings.median(phase, peer, n)
        if theirs:
            curves.append("%g with lines dashtype 2 linewidth 2 linecolor rgb '%s' title '%s %s'"
                          % (theirs, COLOURS[index], peer, phase))
    if curves:
        plot.script += ["set output '%s'" % out_path,
                        "set title 'BTree at n=%s against its order; dashed: %s'" % (
                            size_label(n), peer),
                        "unset logscale", "set logscale x 2", "set xlabel 'order'",
                        "set ylabel 'ns per operation (median)'", "set xrange [*:*]",
                        "set xtics auto", "set yrange [0:*]", "plot " + ", ".join(curves),
                        "set yrange [*:*]"]


def counts_figure(plot, counts, n, out_path):
    rows = [r for r in counts.rows if r["n"] == n]
    if not rows:
        return
    measures = ("instructions", "l1_misses", "ll_misses")
    path = plot.data([(r["name"],) + tuple(r[phase][m] for m in measures
                                           for phase in ("find", "mix")) for r in rows])
    titles = ["instructions", "L1 data misses (simulated)", "last-level data misses (simulated)"]
    plot.script += ["set terminal pngcairo size 960,900 noenhanced font ',11'",
                    "set output '%s'" % out_path, "unset title", "unset logscale",
                    "set xrange [*:*]", "set yrange [0:*]", "set xtics auto",
                    "set multiplot layout 3,1 title 'Per operation at n=%s, %s'" % (
                        size_label(n), counts.caches),
                    "set style data histograms", "set style histogram clustered gap 1",
                    "set style fill solid 0.8 border -1", "set boxwidth 0.9",
                    "set xtics rotate by -30 left", "set xlabel ''", "set key inside top left"]
    for index, title in enumerate(titles):
        find_column, mix_column = 2 + 2 * index, 3 + 2 * index
        plot.script += [
            "set ylabel '%s'" % title.split(" (")[0],
            "plot '%s' using %d:xtic(1) title 'find' linecolor rgb '%s', '' using %d title 'mix' "
            "linecolor rgb '%s'" % (path, find_column, COLOURS[0], mix_column, COLOURS[1])]
    plot.script += ["unset multiplot", HEADER[0], "set style data linespoints",
                    "set xtics norotate", "set key outside right top"]


def workload_series(timings, suite):
    """Our maps (the B-tree at the program's order 3 and at its best order
    at each n) and the peers, for one workload."""
    sizes = timings.sizes_of(suite)
    series = []

    def points(name):
        return {n: timings.median(suite, name, n) for n in sizes
                if timings.median(suite, name, n) is not None}

    best = {}
    for n in sizes:
        name = timings.best_btree(suite, n)
        if name:
            best[n] = timings.median(suite, name, n)
    for title, values in [("VectorMap", points("VectorMap")), ("BTree_3", points("BTree_3")),
                          ("BTree, best order", best),
                          ("AVLBinaryTree", points("AVLBinaryTree"))]:
        if values:
            series.append((title, values))
    for peer in ["sorted_vector", "std_map", "absl_btree_map", "std_unordered_map"]:
        if points(peer):
            series.append((peer, points(peer)))
    return series
