"""The machine a run was measured on, as one line of the report."""
import platform


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
