"""What a report runs: the mode's sizes, repetitions and run time, narrowed
by the user's --sizes, --maps, --workloads and --repetitions, into the
commands of the bench programs."""
import re

from ..model import files
from ..model.catalog import FIND_PAIR, LATENCY, PHASES, WORKLOADS

# The sizes over which the latency section sets the two finds side by side.
FIND_PAIR_SIZES = [1000, 10000, 100000, 1000000, 10000000]
# Sizes beyond the caches, where a lookup also pays TLB misses: the huge-page
# runs repeat these, for every contender alike.
HUGE_PAGE_SIZES = [1000000, 10000000]

# quick: every suite once at n=1e3 (CI). standard: what the targets ask,
# at their sizes, with enough repetitions for the U test. full: every size
# from 1e3 to 1e7, and more repetitions of the phases the targets compare.
# workload_goals: goals on a workload at sizes of its own also run there
# (in the standard mode with 5 repetitions: at 1e6 each one refills the map,
# and 5 against 5 still separates p < 0.01). latency: map_latency's sizes,
# processes (repetitions) and calls per run; find_pairs: the repetitions of
# the independent and dependent finds at the sizes FIND_PAIR_SIZES the mode
# does not run (back to back, so that each map is filled once).
MODES = {
    "quick": {"sizes": {PHASES: [1000], WORKLOADS: [1000]}, "repetitions": 1,
              "min_time": 0.01, "memory_sizes": [1000], "counts_sizes": [1000],
              "target_repetitions": 0,
              "latency": {"sizes": [1000], "repetitions": 1, "operations": 20000}},
    "standard": {"sizes": {PHASES: [10000, 100000], WORKLOADS: [10000, 100000]},
                 "repetitions": 9, "min_time": 0.1, "memory_sizes": [10000, 100000],
                 "counts_sizes": [10000, 100000], "target_repetitions": 0,
                 "workload_goals": True, "workload_goal_repetitions": 5,
                 "latency": {"sizes": [10000, 1000000], "repetitions": 5,
                             "operations": 1000000},
                 "find_pairs": 3},
    "full": {"sizes": {PHASES: [1000, 10000, 100000, 1000000],
                       WORKLOADS: [1000, 10000, 100000, 1000000, 10000000]},
             "repetitions": 5, "min_time": 0.2,
             "memory_sizes": [1000, 10000, 100000, 1000000, 10000000],
             "counts_sizes": [10000, 100000], "target_repetitions": 10, "huge_pages": True,
             "workload_goals": True,
             "latency": {"sizes": [10000, 1000000], "repetitions": 9, "operations": 1000000}},
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

    def __init__(self, catalog, mode, sizes=None, maps=None, workloads=None, repetitions=None,
                 huge_pages=None):
        settings = MODES[mode]
        self.huge_pages = settings.get("huge_pages", False) if huge_pages is None else huge_pages
        self.mode = mode
        self.catalog = catalog
        self.min_time = settings["min_time"]
        self.repetitions = repetitions or settings["repetitions"]
        self.target_repetitions = settings["target_repetitions"] if not (
            sizes or maps or workloads or repetitions) else 0
        # Goals on workloads at sizes of their own (the scans at 1e6) run
        # there too, unless the user chose the sizes.
        self.workload_goals = settings.get("workload_goals", False) and not sizes
        self.workload_goal_repetitions = repetitions or settings.get(
            "workload_goal_repetitions", self.repetitions)
        self.sizes = {program: sizes or settings["sizes"][program]
                      for program in (PHASES, WORKLOADS)}
        latency = settings["latency"]
        self.sizes[LATENCY] = sizes or latency["sizes"]
        self.latency_repetitions = repetitions or latency["repetitions"]
        self.latency_operations = latency["operations"]
        self.find_pair_repetitions = 0 if sizes else settings.get("find_pairs", 0)
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

    def scan_counts(self):
        """Scan counts go with the scan suites."""
        return any(self.catalog.suite_scans(s) for s in self.suites_of(WORKLOADS))

    def latency_runs(self):
        """map_latency's arguments, one run per repetition (each its own
        process, its runs in an order of its own), or [] when no latency
        suite was chosen."""
        suites = self.suites_of(LATENCY)
        if not suites:
            return []
        common = ["--sizes=" + ",".join(map(str, self.sizes[LATENCY])),
                  "--maps=" + ",".join(self.weighed_maps()), "--suites=" + ",".join(suites),
                  "--operations=%d" % self.latency_operations]
        return [common + ["--shuffle=%d" % (r + 1)] for r in range(self.latency_repetitions)]

    def events_arguments(self):
        """map_events at the latency sizes, when the latency runs take place."""
        if not self.latency_runs():
            return None
        return ["--operations=%d" % self.latency_operations,
                "--sizes=" + ",".join(map(str, self.sizes[LATENCY]))]

    def find_pair_run(self):
        """The independent and dependent finds at the sizes the mode's
        workload run leaves out, for every chosen map: (output, arguments)
        or None."""
        suites = [s for s in FIND_PAIR if s in self.suites_of(WORKLOADS)]
        sizes = [n for n in FIND_PAIR_SIZES if n not in self.sizes[WORKLOADS]]
        if not (self.find_pair_repetitions and suites and sizes):
            return None
        return files.WORKLOADS_FINDS, self.arguments(sizes, suites, self.maps,
                                                     self.find_pair_repetitions,
                                                     interleaved=False)

    def weighed_maps(self):
        return [m for m in self.maps if self.catalog.role(m) != "floor"]

    def filter(self, suites, maps):
        return "^(%s)/(%s)/" % ("|".join(map(re.escape, suites)),
                                "|".join(map(re.escape, maps)))

    def huge_page_sizes(self, program):
        """The sizes the huge-page runs repeat: those at or beyond 1e6, or
        the largest when a run measures none so large."""
        sizes = self.sizes[program]
        return [n for n in sizes if n in HUGE_PAGE_SIZES] or [max(sizes)]

    def ordinary_sizes(self, program):
        """The sizes measured in one run with interleaved repetitions: all
        but those that the huge-page comparison measures."""
        paired = self.huge_page_sizes(program) if self.huge_pages else []
        return [n for n in self.sizes[program] if n not in paired]

    def timed_runs(self):
        """(program, output name, arguments) for every ordinary timed run."""
        runs = []
        for program, output in ((PHASES, files.PHASES), (WORKLOADS, files.WORKLOADS)):
            suites = self.suites_of(program)
            if suites and self.ordinary_sizes(program):
                runs.append((program, output,
                             self.arguments(self.ordinary_sizes(program), suites, self.maps,
                                            self.repetitions)))
        runs += self.workload_target_runs()
        if self.target_repetitions and self.suites_of(PHASES):
            ours = self.catalog.with_role("ours")
            maps = ours + [p for p in self.catalog.with_role("peer")
                           if p in {self.catalog.peer(o) for o in ours}]
            runs.append((PHASES, files.PHASES_TARGETS,
                         self.arguments(self.catalog.targets["sizes"], ["find", "mix"], maps,
                                        self.target_repetitions)))
        return runs

    def workload_target_runs(self):
        """Goals on workload suites at sizes beyond the mode's (the scans at
        1e6): one more run of those suites at those sizes, for our maps and
        their peers, unless the user chose the sizes."""
        if not self.workload_goals:
            return []
        extra = {}
        for goal in self.catalog.targets["goals"]:
            if goal["measure"] in self.suites_of(WORKLOADS):
                missing = [n for n in goal.get("sizes", []) if n not in self.sizes[WORKLOADS]]
                extra.setdefault(goal["measure"], set()).update(missing)
        suites = [s for s in self.suites_of(WORKLOADS) if extra.get(s)]
        if not suites:
            return []
        ours = [m for m in self.maps if self.catalog.role(m) == "ours"]
        maps = [m for m in self.maps if m in ours or m in {self.catalog.peer(o) for o in ours}]
        sizes = sorted(set().union(*(extra[s] for s in suites)))
        return [(WORKLOADS, files.WORKLOADS_TARGETS,
                 self.arguments(sizes, suites, maps, self.workload_goal_repetitions))]

    def huge_page_runs(self):
        """(program, output without, output with, arguments of one
        repetition): the largest sizes, run once per repetition without and
        once with huge pages, alternating, so that no slow spell of the
        machine falls on one side."""
        if not self.huge_pages:
            return []
        runs = []
        for program, without, with_huge in ((PHASES, files.PHASES, files.PHASES_HUGE),
                                            (WORKLOADS, files.WORKLOADS, files.WORKLOADS_HUGE)):
            suites = self.suites_of(program)
            if suites:
                runs.append((program, without, with_huge,
                             self.arguments(self.huge_page_sizes(program), suites, self.maps,
                                            1)))
        return runs

    def arguments(self, sizes, suites, maps, repetitions, interleaved=True):
        """A Google Benchmark program's arguments; its repetitions in random
        order among all its benchmarks unless `interleaved` is False (back to
        back: each map is filled once)."""
        arguments = ["--sizes=" + ",".join(map(str, sizes)),
                     "--benchmark_filter=" + self.filter(suites, maps),
                     "--benchmark_min_time=%g" % self.min_time]
        if repetitions > 1:
            arguments.append("--benchmark_repetitions=%d" % repetitions)
            if interleaved:
                arguments.append("--benchmark_enable_random_interleaving=true")
        return arguments
