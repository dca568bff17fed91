"""The files a report writes into its folder, each named once, with what it
holds and how it is read back; `load` reads a folder into one Results."""
import json
import os
from dataclasses import dataclass

from .goals import PERCENTILE
from .latency import Latency
from .machine import Machine
from .timings import Counts, Memory, Timings


@dataclass(frozen=True)
class OutputFile:
    name: str
    holds: str
    # The Results field it joins: several files of one group add up.
    group: str


PHASES = OutputFile("phases.json", "the four phases (Google Benchmark)", "timings")
PHASES_TARGETS = OutputFile("phases_targets.json", "more repetitions of the targets' phases",
                            "timings")
WORKLOADS = OutputFile("workloads.json", "the further workloads (Google Benchmark)",
                       "workloads")
WORKLOADS_TARGETS = OutputFile("workloads_targets.json",
                               "the workload goals at sizes of their own", "workloads")
WORKLOADS_FINDS = OutputFile("workloads_finds.json",
                             "independent and dependent finds at the other sizes", "workloads")
PHASES_HUGE = OutputFile("phases_huge_pages.json", "the largest phases with huge pages", "huge")
WORKLOADS_HUGE = OutputFile("workloads_huge_pages.json",
                            "the largest workloads with huge pages", "huge")
MEMORY = OutputFile("memory.json", "heap bytes per entry (map_memory)", "memory")
COUNTS = OutputFile("counts.json", "instructions and cache misses (bench/counts)", "counts")
SCAN_COUNTS = OutputFile("scan_counts.json", "the same of the scans", "scan_counts")
LATENCY = OutputFile("latency.json", "per-call percentiles, one document per repetition",
                     "latency")
EVENTS = OutputFile("events.json", "the maps' steps beside the slow calls (map_events)",
                    "events")
MACHINE = OutputFile("machine.json", "the machine and build measured, and the commit",
                     "machine")
STANDING = OutputFile("standing.json", "the variant that stands for each kind at each goal and "
                      "size, chosen before the run", "standing")
LIST = OutputFile("list.json", "what the bench programs run (their --list)", "catalog")
FIGURES = OutputFile("figures.json", "what each figure draws", "figures")
REPORT = OutputFile("results.md", "the report", "report")

# The measured results: a new run removes them all before it starts.
MEASURED = [PHASES, PHASES_TARGETS, WORKLOADS, WORKLOADS_TARGETS, WORKLOADS_FINDS, PHASES_HUGE,
            WORKLOADS_HUGE, MEMORY, COUNTS, SCAN_COUNTS, LATENCY, EVENTS, MACHINE, STANDING]


def path(folder, output):
    return os.path.join(folder, output.name)


def read(folder, output):
    """The JSON of one file, or None when it is not there."""
    if not os.path.exists(path(folder, output)):
        return None
    with open(path(folder, output)) as source:
        return json.load(source)


def write(folder, output, document, indent=None):
    with open(path(folder, output), "w") as out:
        json.dump(document, out, indent=indent)


class Results:
    """Everything saved in one folder; None for what is not there."""

    def __init__(self, folder, catalog, missing=()):
        self.folder = folder
        self.catalog = catalog
        # The commands an interrupted run has not run yet, and the (suite,
        # map, n) they would have timed: no target on these is judged.
        self.missing = list(missing)
        self.lacking = frozenset(name for command in self.missing for name in command.times)
        documents = {}
        for output in MEASURED:
            document = read(folder, output)
            if document is not None:
                documents.setdefault(output.group, []).append(document)

        def timings(group):
            return Timings(documents[group], catalog) if group in documents else None

        def single(group, kind):
            return kind(documents[group][0]) if group in documents else None

        self.timings = timings("timings")
        self.workloads = timings("workloads")
        self.huge = timings("huge")
        self.memory = single("memory", Memory)
        self.counts = single("counts", Counts)
        self.scan_counts = single("scan_counts", dict)
        self.events = single("events", dict)
        latency_runs = documents.get("latency", [None])[0]
        self.latency = Latency(latency_runs, catalog) if latency_runs else None
        context = (self.timings or self.workloads).context if (self.timings or
                                                               self.workloads) else {}
        self.machine = Machine(documents.get("machine", [None])[0], context)
        # (kind, measure, n) -> the variant judged for the kind: fixed before
        # the run where the run saved it, else (empty) each run's best median.
        self.standing = {(s["kind"], s["measure"], s["n"]): s["name"]
                         for s in documents.get("standing", [[]])[0]}

    def anything_timed(self):
        return any((self.timings, self.workloads, self.latency))

    def judged(self):
        """The phases, the workloads and the latency percentiles together, on
        which the targets are judged."""
        merged = Timings.merged(self.timings, self.workloads,
                                self.latency.timings if self.latency else None)
        if merged:
            merged.standing = self.standing
            merged.lacking = self.lacking
        return merged

    def reached(self, goal, name, n):
        """Whether the machine's interruptions reach the percentile a goal
        is judged on, in a map's latency run."""
        if not self.latency or goal.statistic != PERCENTILE:
            return False
        return self.latency.reached(goal.run_suite, name, n, goal.percentile)

    def interference(self):
        """(suite, map, n) -> the machine's record of each repetition, over
        every timed run."""
        found = {}
        for part in (self.timings, self.workloads, self.huge):
            if part:
                found.update(part.interference)
        if self.latency:
            found.update(self.latency.interference())
        return found

    def normal(self):
        """The phases and workloads without huge pages."""
        return Timings.merged(self.timings, self.workloads)
