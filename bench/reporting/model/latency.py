"""map_latency's runs, one document per repetition (one process each): the
percentiles of every (suite, map, n) in each repetition, and the timer's own
cost. Each percentile also becomes a measure of its own, "mix_latency_p99.9",
in a Timings whose samples are the repetitions' values, so that the
comparisons, targets and "which map where" of the other suites serve it."""
import statistics

from . import run_name
from .goals import LATENCY_SUFFIX, percentile_key
from .timings import Timings

PROGRAM = "map_latency"


class Latency:
    """The runs of every repetition, by (suite, map, n)."""

    def __init__(self, documents, catalog):
        self.catalog = catalog
        self.ticks_per_ns = statistics.median(d["ticks_per_ns"] for d in documents)
        self.invariant_tsc = all(d.get("invariant_tsc") for d in documents)
        self.operations = documents[0]["operations"]
        self.timer = {p: statistics.median(d["timer"]["percentiles"][p] for d in documents)
                      for p in documents[0]["timer"]["percentiles"]}
        self.runs = {}  # (suite, map, n) -> [run of each repetition]
        for document in documents:
            for run in document["runs"]:
                # The document's round, where the run recorded it.
                labelled = dict(run, round=document["round"]) if "round" in document else run
                self.runs.setdefault(tuple(run_name.parse(run["name"])), []).append(labelled)
        self.repetitions = max(len(runs) for runs in self.runs.values()) if self.runs else 0
        self.suites = [s for s in catalog.suites_of(PROGRAM) if any(k[0] == s for k in self.runs)]
        self.timings = self.as_timings()

    def by_operation(self, suite, name, n):
        """{operation: [its percentiles in each repetition]} of a mix's run,
        where the run counted its calls by operation; {} else."""
        found = {}
        for run in self.runs.get((suite, name, n), []):
            for operation, figures in run.get("by_operation", {}).items():
                found.setdefault(operation, []).append(figures["percentiles"])
        return found

    def workload(self, suite):
        """The suite whose calls a latency suite times ("mix" for
        "mix_latency"), as the catalog lists it; the suite itself else."""
        return next((w for w in self.catalog.suites if w + LATENCY_SUFFIX == suite), suite)

    def percentiles(self):
        """Every percentile the runs carry, ascending, as text."""
        first = next(iter(self.runs.values()))[0]
        return sorted(first["percentiles"], key=float)

    def machine_share(self, suite, name, n):
        """The largest share, over the repetitions, of a run's calls that the
        machine could have slowed: its interrupts and switches to other
        tasks, one call each at most, over the calls (0 for runs from before
        they were recorded)."""
        shares = [(r["machine"]["interrupts"] + r["machine"]["involuntary_switches"]) /
                  r["operations"] for r in self.runs.get((suite, name, n), []) if "machine" in r]
        return max(shares, default=0.0)

    def reached(self, suite, name, n, percentile):
        """Whether the machine's interruptions could make up this percentile
        of the run's calls: they could slow as many calls as lie beyond it."""
        return self.machine_share(suite, name, n) >= 1 - float(percentile) / 100

    def interference(self):
        """(suite, map, n) -> the machine's record of each repetition."""
        return {key: [r["machine"] for r in runs if "machine" in r]
                for key, runs in self.runs.items()}

    def sizes_of(self, suite):
        return sorted({n for s, _, n in self.runs if s == suite})

    def as_timings(self):
        timings = Timings([], self.catalog)
        for (suite, name, n), runs in self.runs.items():
            for percentile in self.percentiles() + ["max"]:
                for r in runs:
                    timings.add((percentile_key(suite, percentile), name, n),
                                r["max"] if percentile == "max" else r["percentiles"][percentile],
                                (r["round"], 0) if "round" in r else None)
        return timings
