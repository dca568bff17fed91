"""What a report runs: the mode's sizes, repetitions and run time, narrowed
by the user's --sizes, --maps, --workloads and --repetitions, into the
commands of the bench programs."""
import re

PHASES = "map_phases_bench"
WORKLOADS = "map_workloads_bench"

# quick: every suite once at n=1e3 (CI). standard: what the targets ask,
# at their sizes, with enough repetitions for the U test. full: every size
# from 1e3 to 1e7, and more repetitions of the phases the targets compare.
MODES = {
    "quick": {"sizes": {PHASES: [1000], WORKLOADS: [1000]}, "repetitions": 1,
              "min_time": 0.01, "memory_sizes": [1000], "counts_sizes": [1000],
              "target_repetitions": 0},
    "standard": {"sizes": {PHASES: [10000, 100000], WORKLOADS: [10000, 100000]},
                 "repetitions": 9, "min_time": 0.1, "memory_sizes": [10000, 100000],
                 "counts_sizes": [10000, 100000], "target_repetitions": 0},
    "full": {"sizes": {PHASES: [1000, 10000, 100000, 1000000],
                       WORKLOADS: [1000, 10000, 100000, 1000000, 10000000]},
             "repetitions": 5, "min_time": 0.2,
             "memory_sizes": [1000, 10000, 100000, 1000000, 10000000],
             "counts_sizes": [10000, 100000], "target_repetitions": 10},
}


def parse_sizes(text):
    """"1e4,100000" as [10000, 100000]."""
    sizes = []
    for item in text.split(","):
        value = float(item)
        if value < 1 or value != int(value):
            raise ValueError("'%s' is not a record count" % item)
        sizes.append(int(value))
    return sizes


def patterns(text):
    return [item.strip() for item in text.split(",") if item.strip()] if text else []


class Plan:
    """The runs of one report."""

    def __init__(self, catalog, mode, sizes=None, maps=None, workloads=None, repetitions=None):
        settings = MODES[mode]
        self.mode = mode
        self.catalog = catalog
        self.min_time = settings["min_time"]
        self.repetitions = repetitions or settings["repetitions"]
        self.target_repetitions = settings["target_repetitions"] if not (
            sizes or maps or workloads or repetitions) else 0
        self.sizes = {program: sizes or settings["sizes"][program]
                      for program in (PHASES, WORKLOADS)}
        self.memory_sizes = sizes or settings["memory_sizes"]
        self.counts_sizes = sizes or settings["counts_sizes"]
        names = list(catalog.contenders)
        self.maps = catalog.select(patterns(maps), names) if maps else names
        suites = list(catalog.suites)
        self.suites = catalog.select(patterns(workloads), suites) if workloads else suites

    def suites_of(self, program):
        return [s for s in self.catalog.suites_of(program) if s in self.suites]

    def weighs(self):
        """Heap weights go with the fill; counts with the find and mix phases."""
        return "fill" in self.suites_of(PHASES)

    def counts(self):
        return bool({"find", "mix"} & set(self.suites_of(PHASES)))

    def weighed_maps(self):
        return [m for m in self.maps if self.catalog.role(m) != "floor"]

    def filter(self, suites, maps):
        return "^(%s)/(%s)/" % ("|".join(map(re.escape, suites)),
                                "|".join(map(re.escape, maps)))

    def timed_runs(self):
        """(program, output name, arguments) for every timed run."""
        runs = []
        for program, output in ((PHASES, "phases.json"), (WORKLOADS, "workloads.json")):
            suites = self.suites_of(program)
            if suites:
                runs.append((program, output,
                             self.arguments(self.sizes[program], suites, self.maps,
                                            self.repetitions)))
        if self.target_repetitions and self.suites_of(PHASES):
            ours = self.catalog.with_role("ours")
            maps = ours + [p for p in self.catalog.with_role("peer")
                           if p in {self.catalog.peer(o) for o in ours}]
            runs.append((PHASES, "phases_targets.json",
                         self.arguments(self.catalog.targets["sizes"], ["find", "mix"], maps,
                                        self.target_repetitions)))
        return runs

    def arguments(self, sizes, suites, maps, repetitions):
        arguments = ["--sizes=" + ",".join(map(str, sizes)),
                     "--benchmark_filter=" + self.filter(suites, maps),
                     "--benchmark_min_time=%g" % self.min_time]
        if repetitions > 1:
            arguments += ["--benchmark_repetitions=%d" % repetitions,
                          "--benchmark_enable_random_interleaving=true"]
        return arguments
