"""The report's method, targets and phase sections."""
from ..analysis.targets import judged_sizes
from ..model.catalog import PHASES
from ..render.text import size_label, sizes_text
from . import tables


def method_lines(timings, counts):
    facts = timings.catalog.facts
    counts_per_key = [len(v) for v in timings.samples.values()]
    repetitions = min(counts_per_key, default=0)
    most = max(counts_per_key, default=0)
    extra = "" if most == repetitions else (
        " (%d for the find and mix phases the targets compare, at n=%s)" % (
            most, sizes_text(timings.catalog.targets["sizes"])))
    floors = ", ".join("`%s`" % name for name in timings.catalog.with_role("floor"))
    text = ["Every operation is one call through `Map*`. The phases run the program's own "
            "loops with its draws (seed %d): fill inserts every record, find and mix run "
            "in batches of %d operations on the filled map (mix after emptying it and an "
            "untimed round of n steps). %s does no map work: it is the cost of the "
            "draws and the call. Sorted arrays stop at n=%s, where one random fill takes "
            "seconds." % (facts["seed"], facts["batch"], floors,
                          size_label(facts["largest_random_array_fill"])),
            "",
            "Times are medians of %d repetition%s%s, taken in rounds: each round is one process "
            "of every map, its benchmarks in random order, so that a slow spell of the "
            "machine does not fall on one map. Every timed region starts on the declared heap: "
            "malloc keeps what it frees, and before each benchmark the process holds touched "
            "free memory (32 MiB, consolidated) and runs the benchmark once untimed, so that "
            "no repetition pays for pages touched the first time (the cold suite pays them on "
            "purpose). A ratio is our time over the peer's (the ratio of the geometric means "
            "of their repetitions), with its 95 %% interval from Student's t on the "
            "logarithms: paired round by round where both maps ran in every round (a slow "
            "spell moves both alike), else Welch's (each side's spread taken on its own). "
            "With two looks at most (the second pass), a target's outcome errs with a chance "
            "of at most 5 %%: each look's interval errs at most 2.5 %% on either side (a second "
            "look is taken only where its repetitions may decide the target). "
            "Better when the whole interval lies below 1, worse when above, else "
            "a tie. A goal is met when the whole interval lies within it, missed when it lies "
            "wholly beyond it, undecided otherwise. Heap bytes per entry are weighed in a "
            "separate run with a counting allocator; the timed runs use the program's own "
            "allocator. Google Benchmark's library is Debian's debug build: inside a timed "
            "region only its pause and resume of the fill, empty and insertion suites run, "
            "0.33 µs an iteration of n operations (docs/measuring.md)." % (repetitions, "" if repetitions == 1 else "s", extra)]
    if counts:
        text += ["", "Counts: callgrind, collecting only inside the measured %d finds and %d "
                 "mix steps; %s. They are the same on every run of one build "
                 "(`bench/counts`)." % (counts.finds, counts.mixes, counts.caches)]
    return text


def phase_lines(timings, judged, memory, counts, pictures, reached=None):
    """The phases' sections; the targets are judged on `judged`, the phases
    and the workloads together."""
    lines = method_lines(timings, counts)
    lines += ["", "## Targets", ""]
    if judged_sizes(timings) != timings.catalog.targets["sizes"]:
        lines += ["The targets are set at n=%s; this run judges them at the sizes it measured."
                  % sizes_text(timings.catalog.targets["sizes"]), ""]
    lines += [standing_text(judged), ""]
    lines += tables.targets_table(judged, memory, counts, reached)
    lines += ["", "## Figures", ""] + ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += ["", "## Our maps against their peers"]
    lines += tables.comparison_tables(timings, timings.measured(PHASES))
    if counts:
        lines += ["", "## Instructions and simulated data-cache misses per operation", ""]
        lines += tables.counts_table(counts)
    if memory:
        lines += ["", "## Heap bytes per entry after the fill", ""]
        names = [n for n in timings.catalog.contenders if any(memory.get(n, s) for s in
                                                              timings.sizes)]
        lines += tables.memory_table(memory, names, timings.sizes)
    lines += ["", "## Every map: ns per operation"]
    return lines + tables.timing_tables(timings, timings.measured(PHASES))


def standing_text(judged):
    """Which order stands for a kind that takes one, and why."""
    if judged.standing:
        return ("A kind that takes an order is timed against its goal at the order the "
                "committed full run found fastest there, chosen before this run "
                "(standing.json), so that this run's noise does not pick its luckiest order.")
    return ("A kind that takes an order is timed against its goal at its fastest order in "
            "this run (by median).")
