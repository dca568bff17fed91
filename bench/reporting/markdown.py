"""The report's Markdown: the targets with their verdicts, our maps against
their peers, the counts, the heap weights and the full timing tables."""
import statistics

from .results import size_label

PHASES = ["fill", "find", "empty", "mix"]
TARGET_SIZES = [10000, 100000]
# (our map, peer, [(measure, goal)]); measures are phases (time), "bytes"
# (heap bytes per entry) and "instr find" / "instr mix" (instructions per
# operation). "BTree" stands for the B-tree at its best order for the measure.
TARGETS = [
    ("VectorMap", "sorted_vector", [("find", 0.7), ("mix", 1.0)]),
    ("BTree", "absl_btree_map", [("find", 0.9), ("mix", 1.0), ("bytes", 1.0),
                                 ("instr find", 1.0), ("instr mix", 1.0)]),
    ("AVLBinaryTree", "std_map", [("find", 0.9), ("mix", 1.0), ("bytes", 1.0),
                                  ("instr find", 1.0), ("instr mix", 1.0)]),
]


def outcome(ratio, goal, verdict=None):
    """met, not met, or within noise (a tie whose median misses a goal of 1)."""
    if ratio is None:
        return "not measured"
    if verdict is None:  # counts and weights carry no noise
        return "met" if ratio <= goal + 1e-9 else "not met"
    if ratio <= goal and (verdict == "better" or (goal >= 1 and verdict != "worse")):
        return "met"
    if goal >= 1 and verdict == "tie":
        return "within noise"
    return "not met"


def best_order(candidates):
    """The (value, name) with the smallest value, ignoring missing ones."""
    present = [(value, name) for value, name in candidates if value is not None]
    return min(present) if present else (None, None)


def target_row(timings, memory, counts, ours, peer, measure, goal, n):
    orders = ["BTree_%d" % o for o in timings.orders("find")] if ours == "BTree" else [ours]
    if measure in PHASES:
        _, name = best_order((timings.median(measure, o, n), o) for o in orders)
        c = timings.compare(measure, name, n, peer) if name else None
        if c is None:
            return None
        return [name, peer, measure + " time", size_label(n), c.text(), "≤ %.1f" % goal,
                outcome(c.ratio, goal, c.verdict)]
    if measure == "bytes":
        theirs = memory.get(peer, n) if memory else None
        mine, name = best_order((memory.get(o, n), o) for o in orders) if memory else (None, None)
        ratio = mine / theirs if mine and theirs else None
        text = "%.2f (%.1f vs %.1f bytes)" % (ratio, mine, theirs) if ratio else ""
        return [name or ours, peer, "heap bytes per entry", size_label(n), text,
                "≤ %.1f" % goal, outcome(ratio, goal)]
    phase = measure.split()[1]
    ratio, name = best_order((counts.ratio(o, n, phase, peer), o) for o in orders) \
        if counts else (None, None)
    text = "%.2f (%.0f vs %.0f)" % (ratio, counts.get(name, n, phase),
                                   counts.get(peer, n, phase)) if ratio else ""
    return [name or ours, peer, "%s instructions/op" % phase, size_label(n), text,
            "≤ %.1f" % goal, outcome(ratio, goal)]


def targets_table(timings, memory, counts):
    rows = [["map", "peer", "measure", "n", "ratio (verdict; medians)", "goal", "outcome"]]
    for ours, peer, goals in TARGETS:
        for n in TARGET_SIZES:
            for measure, goal in goals:
                row = target_row(timings, memory, counts, ours, peer, measure, goal, n)
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
        for ours, peer in timings.peers.items():
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
                cells.append("%.1f%s" % (statistics.median(samples), spread(samples))
                             if samples else "")
            rows.append([name] + cells)
        lines += ["", "#### %s: ns per operation (median ± coefficient of variation)" % suite,
                  ""]
        lines += markdown_table(rows, numeric=list(range(1, len(header))))
    return lines


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


def memory_table(memory, names, sizes):
    header = ["map"] + ["n=" + size_label(n) for n in sizes]
    rows = [header]
    for name in names:
        cells = ["%.1f" % memory.get(name, n) if memory.get(name, n) else "" for n in sizes]
        if any(cells):
            rows.append([name] + cells)
    return markdown_table(rows, numeric=list(range(1, len(header))))


WORKLOADS = ["ascending_insert", "ascending_find", "descending_insert", "zipf_find",
             "miss_find", "fifo"]


def where_rows(workloads):
    """(workload, n, comparison of our fastest map with the fastest peer)."""
    rows = []
    for suite in [w for w in WORKLOADS if w in workloads.suites]:
        for n in workloads.sizes_of(suite):
            ours = workloads.fastest(suite, n, ours=True)
            peer = workloads.fastest(suite, n, ours=False)
            if ours and peer:
                rows.append((suite, n, workloads.compare(suite, ours, n, peer)))
    return rows


def where_table(workloads):
    rows = [["workload", "n", "fastest of ours", "ns/op", "fastest ordered peer", "ns/op",
             "ratio", "verdict", "hash map ns/op"]]
    for suite, n, c in where_rows(workloads):
        test = c.test_text()
        hashed = workloads.median(suite, "std_unordered_map", n)
        rows.append([suite, size_label(n), c.ours, "%.1f" % c.our_median, c.peer,
                     "%.1f" % c.peer_median, "%.2f" % c.ratio, "%s (%s)" % (c.verdict, test),
                     "%.1f" % hashed if hashed else ""])
    return markdown_table(rows, numeric=[3, 5, 6, 8])


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


def workload_summary(workloads):
    """One line per workload: its largest size, our fastest map against the
    fastest peer."""
    largest = {}
    for suite, n, c in where_rows(workloads):
        largest[suite] = (n, c)
    lines = []
    for suite in WORKLOADS:
        if suite in largest:
            n, c = largest[suite]
            lines.append("- %s at n=%s: %s %.1f ns/op against %s %.1f ns/op: %.2f, %s" % (
                suite, size_label(n), c.ours, c.our_median, c.peer, c.peer_median, c.ratio,
                c.verdict))
    return lines
