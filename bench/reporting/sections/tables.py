"""The report's tables: the targets with their verdicts, our maps against
their peers, which map where, the counts, the heap weights and the full
timing tables."""
import statistics

from ..analysis.comparison import Comparison, compare
from ..analysis.targets import MET, judge_all
from ..analysis.where import largest_rows, where_rows
from ..render.table import markdown_table
from ..render.text import (TARGET_HEADER, goal_text, interval_text, ns, ratio_verdict,
                           size_label, target_cells, target_ratio, verdict_text)


def targets_table(timings, memory, counts, reached=None):
    """Every goal of the catalog at every judged size."""
    return markdown_table([TARGET_HEADER] + [target_cells(t) for t in
                                             judge_all(timings, memory, counts, reached)])


def goal_summary(timings, memory, counts, reached=None):
    """Each goal of ours once, its ratio at every size judged (a kind that
    takes an order at the one that stands for it, named), and how many
    sizes met it."""
    judged = judge_all(timings, memory, counts, reached)
    sizes = sorted({t.n for t in judged})
    rows, index = [], {}
    for t in judged:
        kind = timings.catalog.contenders.get(t.name, {}).get("kind") or t.name
        key = (kind, t.goal.key, t.goal.limit)
        if key not in index:
            index[key] = len(rows)
            rows.append({"cells": [kind, goal_text(t.goal), t.peer], "at": {},
                         "goal": t.goal.limit, "met": 0, "judged": 0})
        row = rows[index[key]]
        order = timings.catalog.contenders.get(t.name, {}).get("order")
        row["at"][t.n] = target_ratio(t) + (" (%d)" % order if order else "")
        row["met"] += t.outcome == MET
        row["judged"] += 1
    met = sum(row["met"] for row in rows)
    table = [["map", "measure", "against"] + ["n=" + size_label(n) for n in sizes] +
             ["goal", "met"]]
    table += [row["cells"] + [row["at"].get(n, "") for n in sizes] +
              ["≤ %.1f" % row["goal"], "%d of %d" % (row["met"], row["judged"])]
              for row in rows]
    return ["%d of %d targets met." % (met, len(judged)), ""] + markdown_table(
        table, numeric=list(range(3, 3 + len(sizes))))


def comparison_tables(timings, suites):
    """Per suite: each of our maps against its peer, a column per size."""
    lines = []
    for suite in suites:
        header = ["map", "peer"] + ["n=" + size_label(n) for n in timings.sizes]
        rows = [header]
        for ours in timings.catalog.with_role("ours"):
            peer = timings.catalog.peer(ours)
            cells = []
            for n in timings.sizes:
                c = compare(timings, suite, ours, n)
                cells.append(ratio_verdict(c) if c else "")
            if any(cells):
                rows.append([ours, peer] + cells)
        lines += ["", "#### %s: time ratio to the peer, with its verdict" % suite, ""]
        lines += markdown_table(rows, numeric=list(range(2, len(header))))
    return lines


def spread(samples):
    if len(samples) < 2:
        return ""
    return " ±%.0f%%" % (100 * statistics.stdev(samples) / statistics.mean(samples))


def timing_tables(timings, suites):
    lines = []
    for suite in suites:
        header = ["map"] + ["n=" + size_label(n) for n in timings.sizes]
        rows = [header]
        for name in timings.names(suite):
            cells = []
            for n in timings.sizes:
                samples = timings.samples.get((suite, name, n))
                cells.append("%s%s" % (ns(statistics.median(samples)), spread(samples))
                             if samples else "")
            rows.append([name] + cells)
        unit = timings.catalog.suites.get(suite, {}).get("unit", "operation")
        lines += ["", "#### %s: ns per %s (median ± coefficient of variation)" % (suite, unit),
                  ""]
        lines += markdown_table(rows, numeric=list(range(1, len(header))))
        without = timings.catalog.without_scan(suite)
        if without:
            lines += ["", "No ordered scan, so not measured: %s." % ", ".join(without)]
        lines += per_entry_table(timings, suite)
    return lines


def per_entry_table(timings, suite):
    """For a suite of short scans: ns per visited entry, the median time per
    scan over the entries a scan visited on average."""
    entries = {(name, n): value for (s, name, n), value in timings.entries_per_scan.items()
               if s == suite and value}
    if not entries:
        return []
    header = ["map"] + ["n=" + size_label(n) for n in timings.sizes]
    rows = [header]
    for name in timings.names(suite):
        cells = []
        for n in timings.sizes:
            median = timings.median(suite, name, n)
            cells.append("%.2f" % (median / entries[name, n])
                         if median and (name, n) in entries else "")
        rows.append([name] + cells)
    mean = sum(entries.values()) / len(entries)
    return ["", "#### %s: ns per visited entry (%.1f entries per scan on average)" % (
        suite, mean), ""] + markdown_table(rows, numeric=list(range(1, len(header))))


def counts_table(counts):
    header = ["map", "n", "find instr", "find L1 miss", "find LL miss", "mix instr",
              "mix L1 miss", "mix LL miss", "find instr vs peer", "mix instr vs peer"]
    rows = [header]
    for row in counts.rows:
        cells = [row["name"], size_label(row["n"])]
        for phase in ("find", "mix"):
            cells += ["%.1f" % row[phase][m] for m in ("instructions", "l1_misses", "ll_misses")]
        for phase in ("find", "mix"):
            ratio = counts.ratio(row["name"], row["n"], phase)
            cells.append("%.2f" % ratio if ratio else "")
        rows.append(cells)
    return markdown_table(rows, numeric=list(range(1, len(header))))


def scan_counts_table(results):
    """Per map and size: instructions and L1 misses per visited entry of a
    whole walk, and per short scan and per entry it visits."""
    columns = [("walk", "instructions", "walk instr/entry"),
               ("walk", "l1_misses", "walk L1 miss/entry"),
               ("short_scan", "instructions", "short scan instr"),
               ("short_scan", "l1_misses", "short scan L1 miss"),
               ("short_scan_entry", "instructions", "short scan instr/entry"),
               ("short_scan_entry", "l1_misses", "short scan L1 miss/entry")]
    rows = [["map", "n"] + [title for _, _, title in columns]]
    for r in results:
        rows.append([r["name"], size_label(r["n"])] +
                    ["%.2f" % r[part][measure] for part, measure, _ in columns])
    return markdown_table(rows, numeric=list(range(1, len(rows[0]))))


def memory_table(memory, names, sizes):
    header = ["map"] + ["n=" + size_label(n) for n in sizes]
    rows = [header]
    for name in names:
        cells = ["%.1f" % memory.get(name, n) if memory.get(name, n) else "" for n in sizes]
        if any(cells):
            rows.append([name] + cells)
    return markdown_table(rows, numeric=list(range(1, len(header))))


def kind_cell(catalog, kinds, kind):
    """"41.2", or "41.2 (64)" with the best order of a kind that takes one."""
    if kind not in kinds:
        return ""
    median, name = kinds[kind]
    order = " (%d)" % catalog.order(name) if catalog.takes_order(kind) else ""
    return "%s%s" % (ns(median), order)


def where_table(workloads, suites, tail=None):
    """`tail(suite, name, n)`, when given, is the p99.9 of a map's calls in
    the latency run of that workload ("" where there is none): a column
    gives it for the two maps compared."""
    catalog = workloads.catalog
    kinds = catalog.kinds()
    unordered = catalog.with_role("unordered")
    header = (["workload", "n"] + ["%s ns/op" % kind for kind in kinds] +
              ["fastest of ours", "fastest ordered peer", "ns/op", "ratio", "verdict"] +
              (["p99.9 ns ours / peer"] if tail else []) +
              ["%s ns/op" % name for name in unordered])
    rows = [header]
    for suite, n, medians, c in where_rows(workloads, suites):
        cells = [suite, size_label(n)] + [kind_cell(catalog, medians, k) for k in kinds]
        if c:
            cells += [c.ours, c.peer, ns(c.peer_median), interval_text(c), verdict_text(c)]
        else:
            cells += [""] * 5
        if tail:
            pair = (tail(suite, c.ours, n), tail(suite, c.peer, n)) if c else ("", "")
            cells.append("%s / %s" % pair if any(pair) else "")
        for name in unordered:
            median = workloads.median(suite, name, n)
            no_scan = name in catalog.without_scan(suite)
            cells.append("no scan" if no_scan else ns(median) if median else "")
        rows.append(cells)
    first = 2 + len(kinds)
    numeric = list(range(2, first)) + [first + 2, first + 3] + \
        list(range(first + 5 + (1 if tail else 0), len(header)))
    return markdown_table(rows, numeric=numeric)


def huge_page_tables(normal, huge, suites):
    """Per suite: each map's time without and with huge pages at the sizes
    both measured, their ratio with/without and its verdict."""
    lines = []
    for suite in suites:
        sizes = [n for n in huge.sizes_of(suite) if n in normal.sizes_of(suite)]
        header = ["map"] + ["n=%s without / with (ns)" % size_label(n) for n in sizes] + \
            ["n=%s with/without" % size_label(n) for n in sizes]
        rows = [header]
        for name in huge.names(suite):
            pairs, ratios = [], []
            for n in sizes:
                a, b = normal.samples.get((suite, name, n)), huge.samples.get((suite, name, n))
                if not (a and b):
                    pairs.append("")
                    ratios.append("")
                    continue
                c = Comparison(name, name, b, a, huge.labels.get((suite, name, n)),
                               normal.labels.get((suite, name, n)))
                pairs.append("%s / %s" % (ns(c.peer_median), ns(c.our_median)))
                ratios.append(ratio_verdict(c))
            rows.append([name] + pairs + ratios)
        lines += ["", "#### %s: without and with transparent huge pages" % suite, ""]
        lines += markdown_table(rows, numeric=list(range(1, len(header))))
    return lines


def repetition_text(timings, suite):
    """"5 repetitions" or "5 repetitions up to n=1e5, 3 above"."""
    counts = sorted(timings.repetitions(suite).items())
    if not counts:
        return ""
    groups = []
    for n, count in counts:
        if groups and groups[-1][1] == count:
            groups[-1][2] = n
        else:
            groups.append([n, count, n])
    if len(groups) == 1:
        return "%d repetition%s" % (groups[0][1], "" if groups[0][1] == 1 else "s")
    return ", ".join("%d repetitions at n=%s to %s" % (count, size_label(lo), size_label(hi))
                     for lo, count, hi in groups)


def workload_summary(workloads, suites):
    """One line per workload: its largest size, our fastest map against the
    fastest peer."""
    largest = largest_rows(workloads, suites)
    lines = []
    for suite in suites:
        if suite in largest:
            n, c = largest[suite]
            lines.append("- %s at n=%s: %s %.1f ns/op against %s %.1f ns/op: %s" % (
                suite, size_label(n), c.ours, c.our_median, c.peer, c.peer_median,
                ratio_verdict(c)))
    return lines
