"""The whole report: its figures, results.md, and README's results block."""
import os
import sys

from ..analysis.interference import disturbed, fresh_pages, share_of
from ..analysis.targets import judge_all
from ..model import files
from ..model.catalog import FIND_PAIR, PHASES, WORKLOADS
from ..render import figures
from . import latency, tables
from .huge_pages import huge_page_lines
from .host_cache import against_reference_lines, probe_lines
from .machine import difference_lines, fresh_page_lines, interference_lines, machine_line
from .phases import phase_lines
from .round_trips import readme_lines, round_trip_lines
from .workloads import workload_lines

BEGIN, END = "<!-- results:begin -->", "<!-- results:end -->"


class Pictures:
    """The figures drawn, by section."""

    def __init__(self):
        self.phases, self.workloads, self.huge_pages, self.latency = [], [], [], []
        self.round_trips = []


def draw(out, results):
    """Draws every figure into `out`; what each draws goes to figures.json."""
    pictures = Pictures()
    if not figures.available():
        return pictures
    timings, workloads, counts, huge = (results.timings, results.workloads, results.counts,
                                        results.huge)
    plot = figures.Plot(out)

    def drawn_since(before):
        return [name for name in plot.drawn if name not in before]

    for phase in timings.measured(PHASES) if timings else []:
        figures.lines_against_n(plot, timings, phase, "%s phase" % phase,
                                figures.series(timings, phase))
    if timings:
        n = 100000 if 100000 in timings.sizes else timings.sizes[-1]
        for kind in [k for k in timings.catalog.kinds() if timings.catalog.takes_order(k)]:
            figures.order_sweep(plot, timings, timings.measured(PHASES), kind, n)
    if counts:
        figures.counts_figure(plot, counts, counts.sizes[-1])
    judged = results.judged()
    if judged:
        figures.targets_figure(plot, judge_all(judged, results.memory, counts, results.reached))
    pictures.phases = list(plot.drawn)
    before = list(plot.drawn)
    for suite in [s for s in workloads.measured(WORKLOADS) if s not in FIND_PAIR] \
            if workloads else []:
        figures.lines_against_n(plot, workloads, suite, suite.replace("_", " "),
                                figures.series(workloads, suite, with_program_order=True))
    pictures.workloads = drawn_since(before)
    before = list(plot.drawn)
    if huge:
        suites = [s for s in huge.catalog.suites if s in huge.suites]
        figures.huge_pages_figure(plot, results.normal(), huge, suites, min(huge.sizes))
    pictures.huge_pages = drawn_since(before)
    before = list(plot.drawn)
    latency.draw(plot, results.latency, workloads)
    pictures.latency = drawn_since(before)
    before = list(plot.drawn)
    if workloads and results.machine.round_trips():
        figures.round_trip_figure(plot, workloads, results.machine.round_trips())
    pictures.round_trips = drawn_since(before)
    plot.run()
    files.write(out, files.FIGURES, plot.drawn, indent=1)
    return pictures


def warnings(results, reference=None, what="the committed results"):
    """What the reader must know before any figure: another machine than
    the reference's or the same with more or less of its cache, and the
    repetitions a busy machine disturbed."""
    lines = difference_lines(results.machine, reference, what) + \
        against_reference_lines(results.machine, reference, what)
    interference = results.interference()
    found = disturbed(interference)
    cold = [s for s, entry in results.catalog.suites.items() if entry.get("cold_heap")]
    return incomplete_lines(results) + lines + \
        interference_lines(found, share_of(found, interference)[1]) + \
        fresh_page_lines(fresh_pages(interference, cold))


def incomplete_lines(results):
    """What an interrupted run lacks, and how to go on with it."""
    if not results.missing:
        return []
    shown = "; ".join("`%s`" % command.describe() for command in results.missing[:6])
    more = "; and %d more" % (len(results.missing) - 6) if len(results.missing) > 6 else ""
    return ["**An incomplete run.** %d commands of this run did not run: %s%s. No target is "
            "judged whose suite, map and size one of them would have timed. `bench/report "
            "--resume %s` goes on with the run." % (len(results.missing), shown, more,
                                                      results.folder), ""]


def markdown(results, pictures, reference=None, what="the committed results"):
    """results.md, as lines."""
    timings, workloads, memory = results.timings, results.workloads, results.memory
    lines = ["# mapbench results", "", machine_line(results.machine), ""] + \
        probe_lines(results.machine)
    lines += warnings(results, reference, what)
    if timings:
        lines += phase_lines(timings, results.judged(), memory, results.counts, pictures.phases,
                             results.reached)
    if workloads and workloads.measured(WORKLOADS):
        lines += workload_lines(workloads, memory, pictures.workloads,
                                timings.sizes if timings else [], results.scan_counts,
                                results.latency)
    if results.latency or results.events:
        lines += latency.lines(results.latency, results.events, workloads, pictures.latency)
    lines += round_trip_lines(workloads, results.machine, pictures.round_trips)
    if results.huge:
        lines += huge_page_lines(results.normal(), results.huge, pictures.huge_pages)
    return lines


def write_markdown(out, results, pictures, reference=None, what="the committed results"):
    path = files.path(out, files.REPORT)
    with open(path, "w") as report:
        report.write("\n".join(markdown(results, pictures, reference, what)) + "\n")
    return path


# The figures README shows beside its summary, when the run drew them.
README_FIGURES = ["targets.png", "finds_dependent.png", "round_trips.png"]


def readme_block(results, drawn, folder):
    """README's results section: the machine, each goal of ours with its
    ratio at every size judged, the workloads' summary and the figures of
    README_FIGURES that were `drawn`, their files under `folder` (relative
    to README)."""
    workloads = results.workloads
    block = [BEGIN, "", machine_line(results.machine), ""] + probe_lines(results.machine)
    block += tables.goal_summary(results.judged(), results.memory, results.counts,
                                 results.reached)
    block += ["", "Full tables and every figure: [%s/results.md](%s/results.md)." % (
        folder, folder)]
    if workloads:
        block += ["", "Workloads, our fastest map against the fastest ordered peer at the "
                  "largest size measured:", ""]
        block += tables.workload_summary(workloads, workloads.measured(WORKLOADS))
        block += readme_lines(workloads, results.machine)
    block += [""] + ["![%s](%s/%s)" % (p[:-4], folder, p) for p in README_FIGURES if p in drawn]
    return block + ["", END]


def update_readme(readme, results, pictures, folder):
    with open(readme) as source:
        text = source.read()
    if BEGIN not in text or END not in text:
        print("%s has no results markers; left alone" % readme, file=sys.stderr)
        return
    head, rest = text.split(BEGIN, 1)
    drawn = (pictures.phases + pictures.workloads + pictures.huge_pages + pictures.latency +
             pictures.round_trips)
    with open(readme, "w") as out:
        out.write(head + "\n".join(readme_block(results, drawn, folder)) +
                  rest.split(END, 1)[1])
    print("updated %s's results section" % os.path.basename(readme))

