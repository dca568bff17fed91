"""The report's section on the workloads beyond the program's own."""
from ..model.catalog import WORKLOADS
from ..render.text import size_label
from . import tables
from .latency import tail_cell


def cut_offs(workloads):
    """"Sorted arrays stop at 1e5 for descending_insert and at 1e6 for fifo"."""
    catalog = workloads.catalog
    largest = max(workloads.sizes)
    stops = ["at %s for %s" % (size_label(catalog.suites[s]["largest_array"]), s)
             for s in workloads.measured(WORKLOADS)
             if catalog.suites[s]["largest_array"] < largest]
    return " Sorted arrays stop %s (each step moves every entry)." % " and ".join(stops) \
        if stops else ""


def scan_count_lines(scan_counts):
    lines = ["", "### Instructions and simulated data-cache misses of the scans", "",
             "callgrind, collecting only inside %d whole walks and %d short scans (uniform "
             "starts, the insertions left out); %s." % (
                 scan_counts["walks"], scan_counts["scans"], scan_counts["caches"]), ""]
    lines += tables.scan_counts_table(scan_counts["counts"])
    if scan_counts.get("without_scan"):
        lines += ["", "No ordered scan: %s." % ", ".join(scan_counts["without_scan"])]
    return lines


def workload_lines(workloads, memory, pictures, weighed_before, scan_counts=None,
                   latency=None):
    catalog = workloads.catalog
    suites = workloads.measured(WORKLOADS)
    generator = catalog.facts.get("key_generator", "")
    lines = ["", "## Workloads beyond the program's own", ""]
    lines += ["- %s: %s (ns per %s)" % (s, catalog.suites[s]["description"],
                                       catalog.suites[s]["unit"]) for s in suites]
    lines += ["", "Every map is reached through `Map*`. Keys come from %s: the present keys are "
              "0, 2, 4, ...; misses seek the odd numbers between them. Finds run in batches of "
              "%d over a ring of pre-drawn keys. Finds run on a map filled in random key order; "
              "a sorted array holds the same entries whatever the order, so above %s it is "
              "filled in key order instead.%s Times are medians of %s; the unordered map is "
              "shown beside the ordered maps as a reference point. Each round of the run is one "
              "process of every map below 1e6, its benchmarks in random order, each filling its "
              "map afresh; from 1e6 on, a process of one map, whose suites share its fills "
              "(the random one and the ascending one, both kept to the end of the process, the "
              "suites that change them last) and each suite that builds its own maps has a "
              "process of its own, so that no map lands on memory another map freed. A process "
              "runs one repetition: two back to back on one fill are near copies." % (
                  generator, catalog.facts["batch"],
                  size_label(catalog.facts["largest_random_array_fill"]), cut_offs(workloads),
                  tables.repetition_text(workloads, suites[-1])), ""]
    lines += ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += ["", "### Which map where", "",
              "For each workload and size: each of our kinds (at its best order), the fastest "
              "of our maps against the fastest ordered peer, with the verdict%s." % (
                  "; where the per-call latency run measured the workload at that size, the "
                  "p99.9 of the calls of those two maps" if latency else ""), ""]
    tail = (lambda suite, name, n: tail_cell(latency, suite, name, n)) if latency else None
    lines += tables.where_table(workloads, suites, tail)
    if scan_counts:
        lines += scan_count_lines(scan_counts)
    largest = max(workloads.sizes)
    weighed = [name for name in catalog.contenders if memory and memory.get(name, largest)]
    if weighed and largest not in weighed_before:
        lines += ["", "### Heap bytes per entry at n=%s (random fill)" % size_label(largest), ""]
        lines += tables.memory_table(memory, weighed, [largest])
    lines += ["", "### Every map: ns per operation"] + tables.timing_tables(workloads, suites)
    return lines
