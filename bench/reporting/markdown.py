"""The report's Markdown: the targets with their verdicts, our maps against
their peers, the counts, the heap weights and the full timing tables."""
import statistics

from .results import Comparison, ns, size_label


def outcome(ratio, goal, verdict=None):
    """met, not met, or within noise (a tie whose median misses a goal of 1)."""
    if ratio is None:
        return "not measured"
    if verdict is None:  # counts and weights carry no noise
        return "met" if ratio <= goal + 1e-9 else "not met"
    if verdict == "untested":
        return "no verdict (one run)"
    if ratio <= goal and (verdict == "better" or (goal >= 1 and verdict != "worse")):
        return "met"
    if goal >= 1 and verdict == "tie":
        return "within noise"
    return "not met"


def best_order(candidates):
    """The (value, name) with the smallest value, ignoring missing ones."""
    present = [(value, name) for value, name in candidates if value is not None]
    return min(present) if present else (None, None)


def measure_text(measure):
    """"find time", "heap bytes per entry", "find instructions/op",
    "walk time"."""
    if measure == "bytes":
        return "heap bytes per entry"
    if measure.endswith("_instructions"):
        return measure.split("_")[0] + " instructions/op"
    if "_latency_" in measure:  # "mix_latency_p99.9"
        workload, percentile = measure.split("_latency_")
        return "%s %s latency" % (workload, percentile)
    return measure + " time"


def target_row(timings, memory, counts, kind, peer, measure, goal, n):
    """One goal at one size; the best variant of the kind stands for it."""
    variants = timings.catalog.variants(kind)
    if measure == "bytes":
        theirs = memory.get(peer, n) if memory else None
        mine, name = best_order((memory.get(v, n), v) for v in variants) if memory else (None, None)
        ratio = mine / theirs if mine and theirs else None
        text = "%.2f (%.1f vs %.1f bytes)" % (ratio, mine, theirs) if ratio else ""
        return [name or kind, peer, measure_text(measure), size_label(n), text,
                "≤ %.1f" % goal, outcome(ratio, goal)]
    if measure.endswith("_instructions"):
        phase = measure.split("_")[0]
        ratio, name = best_order((counts.ratio(v, n, phase, peer), v) for v in variants) \
            if counts else (None, None)
        text = "%.2f (%.0f vs %.0f)" % (ratio, counts.get(name, n, phase),
                                       counts.get(peer, n, phase)) if ratio else ""
        return [name or kind, peer, measure_text(measure), size_label(n), text,
                "≤ %.1f" % goal, outcome(ratio, goal)]
    _, name = best_order((timings.median(measure, v, n), v) for v in variants)
    c = timings.compare(measure, name, n, peer) if name else None
    if c is None:
        return None
    return [name, peer, measure_text(measure), size_label(n), c.text(), "≤ %.1f" % goal,
            outcome(c.ratio, goal, c.verdict)]


def judged_sizes(timings):
    """The target sizes that were measured or, when none was, every size
    measured: a run aimed at other sizes still hears how its maps fare."""
    measured = [n for n in timings.catalog.targets["sizes"] if n in timings.sizes]
    return measured or timings.sizes


def goal_sizes(timings, goal):
    """The sizes of a goal that has its own, where measured; else the
    judged sizes."""
    own = [n for n in goal.get("sizes", []) if n in timings.sizes_of(goal["measure"])]
    return own or judged_sizes(timings)


def targets_table(timings, memory, counts):
    """Every goal of the catalog at every judged size."""
    rows = [["map", "peer", "measure", "n", "ratio (verdict; medians)", "goal", "outcome"]]
    for goal in timings.catalog.targets["goals"]:
        for n in goal_sizes(timings, goal):
            row = target_row(timings, memory, counts, goal["kind"], goal["peer"],
                             goal["measure"], goal["ratio"], n)
            if row and row[-1] != "not measured":
                rows.append(row)
    return markdown_table(rows, numeric=[])


def markdown_table(rows, numeric):
    """rows[0] is the header; columns listed in `numeric` are right-aligned."""
    rule = ["---:" if i in numeric else "---" for i in range(len(rows[0]))]
    return ["| " + " | ".join(row) + " |" for row in rows[:1] + [rule] + rows[1:]]


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
                c = timings.compare(suite, ours, n)
                cells.append("%.2f %s" % (c.ratio, c.verdict) if c else "")
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


def where_rows(workloads, suites):
    """(workload, n, each kind's best median and name, comparison of our
    fastest map with the fastest ordered peer or None)."""
    rows = []
    for suite in suites:
        for n in workloads.sizes_of(suite):
            kinds = {}
            for kind in workloads.catalog.kinds():
                name = workloads.best_variant(suite, kind, n)
                if name:
                    kinds[kind] = (workloads.median(suite, name, n), name)
            ours = workloads.fastest(suite, n, ours=True)
            peer = workloads.fastest(suite, n, ours=False)
            c = workloads.compare(suite, ours, n, peer) if ours and peer else None
            rows.append((suite, n, kinds, c))
    return rows


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
            cells += [c.ours, c.peer, ns(c.peer_median), "%.2f" % c.ratio,
                      "%s (%s)" % (c.verdict, c.test_text())]
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
                c = Comparison(name, name, b, a)
                pairs.append("%s / %s" % (ns(c.peer_median), ns(c.our_median)))
                ratios.append("%.2f %s" % (c.ratio, c.verdict))
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
    largest = {}
    for suite, n, _, c in where_rows(workloads, suites):
        if c:
            largest[suite] = (n, c)
    lines = []
    for suite in suites:
        if suite in largest:
            n, c = largest[suite]
            lines.append("- %s at n=%s: %s %.1f ns/op against %s %.1f ns/op: %.2f, %s" % (
                suite, size_label(n), c.ours, c.our_median, c.peer, c.peer_median, c.ratio,
                c.verdict))
    return lines
