"""The machine and build a run measured, as one line of the report."""


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
                " with local changes" if r["dirty"] else "", r["date"]))
