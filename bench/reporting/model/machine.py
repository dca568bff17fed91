"""The machine and build a run measured, as recorded in machine.json (runs
from before it was recorded carry only Google Benchmark's context)."""


class Machine:
    def __init__(self, record, context=None):
        self.record = record or {}
        self.context = context or {}

    @property
    def cpu(self):
        return self.record.get("cpu", "CPU model not recorded")

    def caches(self):
        """[(level, type, KiB)] of the data and unified caches."""
        if "caches" in self.record:
            found = [(c["level"], c["type"], c["kib"]) for c in self.record["caches"]]
        else:
            found = [(c["level"], c["type"], c["size"] // 1024)
                     for c in self.context.get("caches", [])]
        return [c for c in found if c[1] != "Instruction"]

    def cache_text(self):
        """"L1 Data 48 KiB, L2 Unified 2048 KiB, L3 Unified 491520 KiB"."""
        return ", ".join("L%d %s %d KiB" % c for c in self.caches())

    def round_trips(self):
        """{n: ns} of the memory round trip the run measured at the working
        set of n records (round_trip), or {} from before it was measured."""
        return {r["n"]: r["ns"] for r in self.record.get("round_trip", [])}

    def round_trip_bytes(self):
        """{n: bytes} of those working sets."""
        return {r["n"]: r["bytes"] for r in self.record.get("round_trip", [])}

    def cache_probe(self):
        """[(round, bytes, [ns a load of each lap])] of the chase over half
        the last-level cache before each round, or [] from before it ran."""
        return [(p["round"], p["bytes"], p["laps_ns"]) for p in self.record.get("cache_probe", [])]

    def differences(self, other):
        """What tells this machine from `other`: its CPU model and caches."""
        found = []
        if self.cpu != other.cpu:
            found.append("CPU %s against %s" % (self.cpu, other.cpu))
        if self.caches() != other.caches():
            found.append("caches %s against %s" % (self.cache_text(), other.cache_text()))
        return found
