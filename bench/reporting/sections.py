"""The report's Markdown sections: the machine and method, the targets and
the phases, the workloads, the huge-page runs."""
import platform

from . import markdown
from .latency import tail_cell
from .plan import HUGE_PAGES_ENV, PHASES, WORKLOADS
from .results import Timings, size_label

def machine_line(timings):
    c = timings.context if timings else {}
    model = platform.processor()
    try:
        with open("/proc/cpuinfo") as info:
            model = next((l.split(":", 1)[1].strip() for l in info
                          if l.startswith("model name")), model)
    except OSError:
        pass
    caches = ", ".join("L%d %s %d KiB" % (x["level"], x["type"], x["size"] // 1024)
                       for x in c.get("caches", []) if x["type"] != "Instruction")
    return ("Machine: %s, %d CPUs at %.0f MHz (%s), %s %s; run %s; maps built as release "
            "(g++ -O2)." % (model, c.get("num_cpus", 0), c.get("mhz_per_cpu", 0), caches,
                            platform.system(), platform.machine(), c.get("date", "")[:16]))


def method_lines(timings, counts):
    facts = timings.catalog.facts
    counts_per_key = [len(v) for v in timings.samples.values()]
    repetitions = min(counts_per_key, default=0)
    most = max(counts_per_key, default=0)
    extra = "" if most == repetitions else (
        " (%d for the find and mix phases the targets compare, at n=%s)" % (
            most, " and ".join(size_label(n) for n in timings.catalog.targets["sizes"])))
    floors = ", ".join("`%s`" % name for name in timings.catalog.with_role("floor"))
    text = ["Every operation is one call through `Map*`. The phases run the program's own "
            "loops with its draws (seed %d): fill inserts every record, find and mix run "
            "in batches of %d operations on the filled map (mix after emptying it and an "
            "untimed round of n steps). %s does no map work: it is the cost of the "
            "draws and the call. Sorted arrays stop at n=%s, where one random fill takes "
            "seconds." % (facts["seed"], facts["batch"], floors,
                          size_label(facts["largest_random_array_fill"])),
            "",
            "Times are medians of %d repetition%s%s, run in random order among all benchmarks so "
            "that a slow spell of the machine does not fall on one map. A ratio is called "
            "better or worse only when a two-sided Mann-Whitney U test over the repetitions "
            "gives p < 0.05; otherwise it is a tie. Heap bytes per entry are weighed in a "
            "separate run with a counting allocator; the timed runs use the program's own "
            "allocator." % (repetitions, "" if repetitions == 1 else "s", extra)]
    if counts:
        text += ["", "Counts: callgrind, collecting only inside the measured %d finds and %d "
                 "mix steps; %s. They are the same on every run of one build "
                 "(`bench/counts`)." % (counts.finds, counts.mixes, counts.caches)]
    return text


def measured(timings, program):
    """The suites of one program that have results, in the program's order."""
    if not timings:
        return []
    return [s for s in timings.catalog.suites_of(program) if s in timings.suites]


def huge_page_lines(normal, huge, pictures):
    """The huge-page runs beside the ordinary ones, and which map is fastest
    with huge pages."""
    try:
        with open("/sys/kernel/mm/transparent_hugepage/enabled") as setting:
            kernel = setting.read().strip()
    except OSError:
        kernel = "unknown"
    suites = [s for s in normal.catalog.suites if s in huge.suites]
    lines = ["", "## Transparent huge pages", "",
             "The same runs again with %s, for every map alike: glibc's malloc then asks the "
             "kernel for 2 MiB pages (this machine's transparent_hugepage setting: `%s`). "
             "Each ratio is time with huge pages over time without, with the U test's "
             "verdict (better: faster with huge pages)." % (
                 " ".join("`%s=%s`" % item for item in HUGE_PAGES_ENV.items()), kernel), ""]
    lines += ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += markdown.huge_page_tables(normal, huge, suites)
    lines += ["", "### Which map where, with huge pages", ""]
    return lines + markdown.where_table(huge, suites)


def combined(*parts):
    """One Timings of several (the phases and the workloads)."""
    present = [p for p in parts if p]
    if not present:
        return None
    merged = Timings([{"benchmarks": []}], present[0].catalog)
    for part in present:
        merged.samples.update(part.samples)
        merged.suites += [s for s in part.suites if s not in merged.suites]
    merged.sizes = sorted({n for _, _, n in merged.samples})
    return merged


def cut_offs(workloads):
    """"Sorted arrays stop at 1e5 for descending_insert and at 1e6 for fifo"."""
    catalog = workloads.catalog
    largest = max(workloads.sizes)
    stops = ["at %s for %s" % (size_label(catalog.suites[s]["largest_array"]), s)
             for s in measured(workloads, WORKLOADS)
             if catalog.suites[s]["largest_array"] < largest]
    return " Sorted arrays stop %s (each step moves every entry)." % " and ".join(stops) \
        if stops else ""


def scan_count_lines(scan_counts):
    lines = ["", "### Instructions and simulated data-cache misses of the scans", "",
             "callgrind, collecting only inside %d whole walks and %d short scans (uniform "
             "starts, the insertions left out); %s." % (
                 scan_counts["walks"], scan_counts["scans"], scan_counts["caches"]), ""]
    lines += markdown.scan_counts_table(scan_counts["counts"])
    if scan_counts.get("without_scan"):
        lines += ["", "No ordered scan: %s." % ", ".join(scan_counts["without_scan"])]
    return lines


def workload_lines(workloads, memory, pictures, weighed_before, scan_counts=None,
                   latency=None):
    catalog = workloads.catalog
    suites = measured(workloads, WORKLOADS)
    generator = catalog.facts.get("key_generator", "")
    lines = ["", "## Workloads beyond the program's own", ""]
    lines += ["- %s: %s (ns per %s)" % (s, catalog.suites[s]["description"],
                                       catalog.suites[s]["unit"]) for s in suites]
    lines += ["", "Every map is reached through `Map*`. Keys come from %s: the present keys are "
              "0, 2, 4, ...; misses seek the odd numbers between them. Finds run in batches of "
              "%d over a ring of pre-drawn keys. Finds run on a map filled in random key order; "
              "a sorted array holds the same entries whatever the order, so above %s it is "
              "filled in key order instead.%s Times are medians of %s; the unordered map is "
              "shown beside the ordered maps as a reference point." % (
                  generator, catalog.facts["batch"],
                  size_label(catalog.facts["largest_random_array_fill"]), cut_offs(workloads),
                  markdown.repetition_text(workloads, suites[-1])), ""]
    lines += ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += ["", "### Which map where", "",
              "For each workload and size: each of our kinds (at its best order), the fastest "
              "of our maps against the fastest ordered peer, with the verdict%s." % (
                  "; where the per-call latency run measured the workload at that size, the "
                  "p99.9 of the calls of those two maps" if latency else ""), ""]
    tail = (lambda suite, name, n: tail_cell(latency, suite, name, n)) if latency else None
    lines += markdown.where_table(workloads, suites, tail)
    if scan_counts:
        lines += scan_count_lines(scan_counts)
    largest = max(workloads.sizes)
    weighed = [name for name in catalog.contenders if memory and memory.get(name, largest)]
    if weighed and largest not in weighed_before:
        lines += ["", "### Heap bytes per entry at n=%s (random fill)" % size_label(largest), ""]
        lines += markdown.memory_table(memory, weighed, [largest])
    lines += ["", "### Every map: ns per operation"] + markdown.timing_tables(workloads, suites)
    return lines


def phase_lines(timings, judged, memory, counts, pictures):
    """The phases' sections; the targets are judged on `judged`, the phases
    and the workloads together."""
    lines = method_lines(timings, counts)
    lines += ["", "## Targets", ""]
    if markdown.judged_sizes(timings) != timings.catalog.targets["sizes"]:
        lines += ["The targets are set at n=%s; this run judges them at the sizes it measured."
                  % " and ".join(size_label(n) for n in timings.catalog.targets["sizes"]), ""]
    lines += markdown.targets_table(judged, memory, counts)
    lines += ["", "## Figures", ""] + ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += ["", "## Our maps against their peers"]
    lines += markdown.comparison_tables(timings, measured(timings, PHASES))
    if counts:
        lines += ["", "## Instructions and simulated data-cache misses per operation", ""]
        lines += markdown.counts_table(counts)
    if memory:
        lines += ["", "## Heap bytes per entry after the fill", ""]
        names = [n for n in timings.catalog.contenders if any(memory.get(n, s) for s in
                                                              timings.sizes)]
        lines += markdown.memory_table(memory, names, timings.sizes)
    lines += ["", "## Every map: ns per operation"]
    return lines + markdown.timing_tables(timings, measured(timings, PHASES))
