"""The machine and build a run measured, as one line of the report, and
what tells it from another run's machine or made it busy."""
from ..analysis.interference import FAULT_LIMIT, OTHERS_LIMIT, STEAL_LIMIT


def machine_line(machine):
    r = machine.record
    if not r:  # a run from before the machine was recorded
        c = machine.context
        return ("Machine: %s, %d CPUs at %.0f MHz (%s); run %s; maps built as release "
                "(-O2)." % (machine.cpu, c.get("num_cpus", 0), c.get("mhz_per_cpu", 0),
                            machine.cache_text(), c.get("date", "")[:16]))
    compiler = r["compiler"]
    return ("Machine: %s, %d CPUs at %.0f MHz (%s), %s, kernel %s, transparent huge pages "
            "`%s`; %s, %s build, `%s`; commit %s%s; run %s." % (
                machine.cpu, r["cpus"], r["mhz"], machine.cache_text(), r["system"],
                r["kernel"], r["transparent_huge_pages"], compiler["version"],
                compiler["build_type"].lower(), compiler["flags"], r["commit"][:12],
                " with local changes" if r["dirty"] else "", r["date"])) + (
        " It took %d min %02d s." % divmod(round(r["seconds"]), 60) if "seconds" in r else "")


def difference_lines(machine, reference, what):
    """A paragraph naming what tells this run's machine from the one
    `what` ran on ("the committed results"), or nothing when they agree in
    CPU model and caches."""
    if reference is None:
        return []
    differences = machine.differences(reference)
    if not differences:
        return []
    return ["**Another machine.** %s ran on another machine than this run: %s. Ratios that "
            "hinge on the caches (finds at 1e5 and beyond, above all) need not agree between "
            "the two." % (what[0].upper() + what[1:], "; ".join(differences)), ""]


def interference_lines(disturbed, total):
    """The repetitions the machine took much from, named."""
    if not disturbed:
        return []
    shown = ", ".join("%s/%s/%d #%d (steal %.0f %%, others %.0f %%)" % (
        d.suite, d.name, d.n, d.repetition + 1, 100 * d.steal, 100 * d.others)
        for d in disturbed[:12])
    more = " and %d more" % (len(disturbed) - 12) if len(disturbed) > 12 else ""
    return ["**A busy machine.** %d of %d repetitions ran while the host stole more than "
            "%.0f %% of a CPU or other tasks took more than %.0f %%: %s%s. Their figures "
            "stay in (the intervals widen with them); rerun to see whether they hold." % (
                len(disturbed), total, 100 * STEAL_LIMIT, 100 * OTHERS_LIMIT, shown, more), ""]


def fresh_page_lines(faulted):
    """The repetitions that touched fresh pages while timed, named."""
    if not faulted:
        return []
    shown = ", ".join("%s/%s/%d #%d (%.0f)" % (f.suite, f.name, f.n, f.repetition + 1, f.faults)
                      for f in faulted[:12])
    more = " and %d more" % (len(faulted) - 12) if len(faulted) > 12 else ""
    one = len(faulted) == 1
    return ["**Fresh pages.** %d %s more than %d page faults inside %s timed region, where "
            "the declared heap should have left no page to touch: %s%s. %s what growing the "
            "heap costs." % (len(faulted), "repetition took" if one else "repetitions took",
                             FAULT_LIMIT, "its" if one else "their", shown, more,
                             "Its time includes" if one else "Their times include"), ""]
