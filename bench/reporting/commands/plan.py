"""What a report runs: the mode's suites, sizes and repetitions, narrowed by
the user's --sizes, --maps, --workloads and --repetitions, as the commands
of the bench programs; and, once the first pass is judged, the further
repetitions of the targets it left undecided."""
import re

from ..model import files
from ..model.catalog import LATENCY, PHASES, WORKLOADS

# glibc's malloc advises transparent huge pages for its heap with this
# tunable; see model.catalog. Sizes beyond the caches, where a lookup also
# pays TLB misses: the huge-page runs repeat these, for every contender alike.
HUGE_PAGE_SIZES = [1000000, 10000000]

# quick: every suite once at n=1e3 (CI).
# standard: what the targets ask and nothing more: each goal's suite at the
#   goal's sizes, for the kinds with a goal on it and their peers, 5
#   repetitions; a target whose interval the first pass leaves undecided gets
#   4 more. Beyond the target sizes it times of each kind only the variant
#   chosen before the run (see stands). Its repetitions run in rounds (see
#   schedule). Aimed with --maps, --workloads or --repetitions, it runs what
#   was chosen at 1e4 and 1e5 instead, each run one process.
# full: every suite at every size from 1e3 to 1e7, the phases' largest size
#   with huge pages, the maps' structural steps, and the same second pass.
# latency: map_latency's sizes, processes (repetitions) and calls per run.
#
# A run's repetitions take turns in random order with the other maps', each
# filling its map afresh, so that their spread covers where the fill
# happened to place the nodes. Beyond `back_to_back_beyond`, where filling
# every map takes most of the run (at 1e7, up to 45 s a map), a map is
# filled once and its repetitions run back to back. Keeping the large maps
# filled to interleave their repetitions does not work here: a map at 1e7
# found 4 times slower after the other maps had been filled than just
# after its own fill.
MODES = {
    "quick": {"sizes": {PHASES: [1000], WORKLOADS: [1000]}, "repetitions": 1,
              "min_time": 0.01, "memory_sizes": [1000], "counts_sizes": [1000],
              "latency": {"sizes": [1000], "repetitions": 1, "operations": 20000}},
    "standard": {"targets_only": True, "repetitions": 5, "extra_repetitions": 4,
                 "min_time": 0.1, "back_to_back_beyond": 1000000, "in_rounds": True,
                 "processes_back_to_back": 2,
                 # What a run aimed with --maps, --workloads or --repetitions measures.
                 "sizes": {PHASES: [10000, 100000], WORKLOADS: [10000, 100000]},
                 "memory_sizes": [10000, 100000], "counts_sizes": [10000, 100000],
                 "latency": {"sizes": [10000, 1000000], "repetitions": 5,
                             "operations": 1000000}},
    "full": {"sizes": {PHASES: [1000, 10000, 100000, 1000000],
                       WORKLOADS: [1000, 10000, 100000, 1000000, 10000000]},
             "repetitions": 5, "extra_repetitions": 6, "min_time": 0.2,
             "memory_sizes": [1000, 10000, 100000, 1000000, 10000000],
             "counts_sizes": [10000, 100000], "huge_pages": True, "events": True,
             # A workload run at 1e6 and 1e7 spends most of its time filling
             # the maps (about 12 of its 15 minutes, here): its repetitions
             # run back to back, and only the phases are repeated with huge
             # pages.
             "back_to_back_beyond": 100000, "huge_page_programs": [PHASES],
             "latency": {"sizes": [10000, 1000000], "repetitions": 9, "operations": 1000000}},
}


# Google Benchmark's flags for the repetitions of a run, and for taking them
# in random order among the run's benchmarks (each filling its map afresh).
REPETITIONS = "--benchmark_repetitions="
INTERLEAVED = "--benchmark_enable_random_interleaving=true"


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


def suite_of(measure):
    """The suite a goal's measure is timed in ("mix" for "mix", "mix_latency"
    for "mix_latency_p99.9"), or None for counts and weights."""
    if measure == "bytes" or measure.endswith("_instructions"):
        return None
    return measure.rsplit("_p", 1)[0] if "_latency_p" in measure else measure


class Plan:
    """The runs of one report."""

    def __init__(self, catalog, mode, sizes=None, maps=None, workloads=None, repetitions=None,
                 huge_pages=None, standing=()):
        settings = MODES[mode]
        self.mode = mode
        self.catalog = catalog
        aimed = bool(sizes or maps or workloads or repetitions)
        self.targets_only = settings.get("targets_only", False) and not aimed
        self.huge_pages = settings.get("huge_pages", False) if huge_pages is None else huge_pages
        self.huge_page_programs = ([PHASES, WORKLOADS] if huge_pages else
                                   settings.get("huge_page_programs", [PHASES, WORKLOADS]))
        self.events = settings.get("events", False) or (aimed and not self.targets_only)
        self.min_time = settings["min_time"]
        self.repetitions = repetitions or settings["repetitions"]
        # The second pass: only a mode's own runs, not a run the user aimed.
        self.extra_repetitions = 0 if aimed else settings.get("extra_repetitions", 0)
        latency = settings["latency"]
        self.latency_repetitions = repetitions or latency["repetitions"]
        self.latency_operations = latency["operations"]
        names = list(catalog.contenders)
        self.maps = catalog.select(patterns(maps), names) if maps else names
        suites = list(catalog.suites)
        self.suites = catalog.select(patterns(workloads), suites) if workloads else suites
        # {suite: maps} where not every chosen map runs every suite.
        self.maps_of = {}
        if self.targets_only:
            self.sizes = self.goal_sizes()
            self.maps_of = self.goal_maps()
            self.maps = [m for m in self.maps if any(m in chosen for chosen in
                                                     self.maps_of.values())]
            target_sizes = catalog.targets["sizes"]
            self.memory_sizes = self.counts_sizes = target_sizes
            # Goals beyond the target sizes are written to files of their own.
            self.targets_beyond = max(target_sizes or [0])
        else:
            self.sizes = {program: {s: sizes or settings["sizes"][program]
                                    for s in catalog.suites_of(program) if s in self.suites}
                          for program in (PHASES, WORKLOADS)}
            self.sizes[LATENCY] = {s: sizes or latency["sizes"]
                                   for s in catalog.suites_of(LATENCY) if s in self.suites}
            self.memory_sizes = sizes or settings["memory_sizes"]
            self.counts_sizes = sizes or settings["counts_sizes"]
            self.targets_beyond = None
        self.back_to_back_beyond = settings.get("back_to_back_beyond")
        self.in_rounds = settings.get("in_rounds", False) and not aimed
        self.processes_back_to_back = settings.get("processes_back_to_back", 1)
        # The variants that stand for our kinds, chosen before the run
        # (analysis.targets.standing), as saved beside it; and by (kind,
        # suite, n).
        self.standing_records = list(standing)
        self.standing = {}
        for record in self.standing_records:
            key = (record["kind"], suite_of(record["measure"]), record["n"])
            self.standing.setdefault(key, set()).add(record["name"])

    # What the targets ask.

    def goal_sizes(self):
        """{program: {suite: sizes}} of every goal's suite at the goal's sizes
        (the target sizes when it has none of its own)."""
        wanted = {PHASES: {}, WORKLOADS: {}, LATENCY: {}}
        for goal in self.catalog.targets["goals"]:
            suite = suite_of(goal["measure"])
            program = self.catalog.suites.get(suite, {}).get("program")
            if program in wanted and suite in self.suites:
                sizes = goal.get("sizes") or self.catalog.targets["sizes"]
                wanted[program][suite] = sorted(set(wanted[program].get(suite, [])) | set(sizes))
        return wanted

    def goal_maps(self):
        """{suite: the chosen maps of the kinds with a goal timed in that
        suite, and their peers}; the memory and counts take every one of
        ours and the peers."""
        kinds = {}
        for goal in self.catalog.targets["goals"]:
            suite = suite_of(goal["measure"]) or goal["measure"]
            kinds.setdefault(suite, set()).add(goal["kind"])
        maps = {}
        for suite, chosen in kinds.items():
            ours = [m for m in self.maps if self.catalog.role(m) == "ours" and
                    self.catalog.contenders[m]["kind"] in chosen]
            peers = {self.catalog.peer(m) for m in ours}
            maps[suite] = [m for m in self.maps if m in ours or m in peers]
        return maps

    # The runs.

    def suites_of(self, program):
        return list(self.sizes.get(program, {}))

    def weighs(self):
        """Heap weights go with the fill, or with a goal on them."""
        if self.targets_only:
            return any(g["measure"] == "bytes" for g in self.catalog.targets["goals"])
        return "fill" in self.suites_of(PHASES)

    def counts(self):
        if self.targets_only:
            return any(g["measure"].endswith("_instructions")
                       for g in self.catalog.targets["goals"])
        return bool({"find", "mix"} & set(self.suites_of(PHASES)))

    def scan_counts(self):
        """Scan counts go with the scan suites (not in a run of the targets
        alone, which set no goal on them)."""
        return not self.targets_only and any(self.catalog.suite_scans(s)
                                             for s in self.suites_of(WORKLOADS))

    def weighed_maps(self):
        return [m for m in self.maps if self.catalog.role(m) != "floor"]

    def stands(self, name, suite, sizes):
        """Whether a map is timed in a suite at these sizes: every peer, and
        every variant of ours but, in a run of the targets alone beyond the
        target sizes, those that do not stand for their kind there, when
        the kind's standing variant is known at every size. At 1e6 and 1e7
        a fill takes seconds to a minute, and the other orders would not be
        judged."""
        if self.catalog.role(name) != "ours" or not self.beyond_targets(sizes):
            return True
        kind = self.catalog.contenders[name]["kind"]
        standing = [self.standing.get((kind, suite, n)) for n in sizes]
        return None in standing or any(name in names for names in standing)

    def beyond_targets(self, sizes):
        return self.targets_only and min(sizes) > self.targets_beyond

    def latency_runs(self):
        """map_latency's arguments, one run per repetition (each its own
        process, its runs in an order of its own), or [] when no latency
        suite was chosen. Suites measured at other sizes run apart."""
        runs = []
        for sizes, suites in self.grouped(LATENCY):
            maps = [m for m in self.weighed_maps()
                    if any(m in self.maps_of.get(s, self.maps) and self.stands(m, s, sizes)
                            for s in suites)]
            common = ["--sizes=" + ",".join(map(str, sizes)),
                      "--maps=" + ",".join(maps), "--suites=" + ",".join(suites),
                      "--operations=%d" % self.latency_operations]
            runs += [common + ["--shuffle=%d" % (r + 1)] for r in range(self.latency_repetitions)]
        return runs

    def events_arguments(self):
        """map_events at the latency sizes, when the plan counts the steps."""
        sizes = sorted({n for s in self.sizes.get(LATENCY, {}).values() for n in s})
        if not (self.events and sizes):
            return None
        return ["--operations=%d" % self.latency_operations,
                "--sizes=" + ",".join(map(str, sizes))]

    def grouped(self, program):
        """[(sizes, suites)]: the suites of a program measured at the same
        sizes, together."""
        return self.by_sizes(self.sizes.get(program, {}))

    def filter(self, suites, maps, sizes):
        """The benchmarks of the suites on the maps (on those of maps_of, for a
        suite it names, and that stand there)."""
        groups = {}
        for suite in suites:
            chosen = tuple(m for m in self.maps_of.get(suite, maps)
                           if m in maps and self.stands(m, suite, sizes))
            groups.setdefault(chosen, []).append(suite)
        if len(groups) == 1:
            (chosen, suites), = groups.items()
            return "^(%s)/(%s)/" % ("|".join(map(re.escape, suites)),
                                    "|".join(map(re.escape, chosen)))
        return "^(%s)/" % "|".join(
            "(%s)/(%s)" % ("|".join(map(re.escape, suites)), "|".join(map(re.escape, chosen)))
            for chosen, suites in groups.items())

    def huge_page_sizes(self, program):
        """The sizes the huge-page runs repeat: those at or beyond 1e6, or
        the largest when a run measures none so large."""
        sizes = sorted({n for s in self.sizes.get(program, {}).values() for n in s})
        return [n for n in sizes if n in HUGE_PAGE_SIZES] or sizes[-1:]

    def timed_runs(self):
        """(program, output, arguments) for every ordinary timed run: one run
        for the suites of each set of sizes, interleaved or (beyond the
        mode's limit) back to back, several runs adding up in one output; in
        a run of the targets alone, the goals beyond the target sizes in an
        output of their own."""
        runs = []
        for program, output, targets_output in ((PHASES, files.PHASES, files.PHASES_TARGETS),
                                                (WORKLOADS, files.WORKLOADS,
                                                 files.WORKLOADS_TARGETS)):
            paired = self.huge_page_sizes(program) if self.pairs_huge_pages(program) else []
            groups = {}  # (output, back to back) -> {suite: sizes}
            for suite, sizes in self.sizes.get(program, {}).items():
                for n in sizes:
                    if n in paired:
                        continue
                    beyond = self.beyond_targets([n])
                    chosen = groups.setdefault((targets_output if beyond else output,
                                                self.back_to_back([n])), {})
                    chosen.setdefault(suite, []).append(n)
            for (file, _), chosen in groups.items():
                runs += [(program, file,
                          self.arguments(sizes, suites, self.maps, self.repetitions))
                         for sizes, suites in self.by_sizes(chosen)]
        return runs

    def schedule(self, runs, repetitions, processes_back_to_back=None):
        """(program, output, arguments) of `runs` in the order they run. In
        rounds, an interleaved run becomes one process per repetition, a run
        back to back `processes_back_to_back` processes (the mode's, unless
        given) sharing its repetitions, and the processes take turns round
        by round: a target's repetitions then spread over the whole pass,
        and so does any slow spell of the machine, instead of falling on
        all of one target's."""
        if not self.in_rounds or repetitions < 2:
            return runs
        rounds = [[] for _ in range(repetitions)]
        for program, output, arguments in runs:
            parts = repetitions if INTERLEAVED in arguments else min(
                processes_back_to_back or self.processes_back_to_back, repetitions)
            for part in range(parts):
                share = repetitions // parts + (part < repetitions % parts)
                rounds[part * repetitions // parts].append(
                    (program, output, with_repetitions(arguments, share)))
        return [run for turn in rounds for run in turn]

    def back_to_back(self, sizes):
        """Whether a run at these sizes fills each map once."""
        return self.back_to_back_beyond is not None and max(sizes) > self.back_to_back_beyond

    @staticmethod
    def by_sizes(sizes_of):
        """[(sizes, suites)]: the suites of {suite: sizes} measured at the same
        sizes, together."""
        groups = {}
        for suite, sizes in sizes_of.items():
            groups.setdefault(tuple(sorted(sizes)), []).append(suite)
        return [(list(sizes), suites) for sizes, suites in groups.items()]

    def pairs_huge_pages(self, program):
        return self.huge_pages and program in self.huge_page_programs

    def huge_page_runs(self):
        """(program, output without, output with, arguments of one
        repetition): the largest sizes, run once per repetition without and
        once with huge pages, alternating, so that no slow spell of the
        machine falls on one side."""
        runs = []
        for program, without, with_huge in ((PHASES, files.PHASES, files.PHASES_HUGE),
                                            (WORKLOADS, files.WORKLOADS, files.WORKLOADS_HUGE)):
            suites = self.suites_of(program)
            if suites and self.pairs_huge_pages(program):
                runs.append((program, without, with_huge,
                             self.arguments(self.huge_page_sizes(program), suites, self.maps,
                                            1)))
        return runs

    def extension_runs(self, undecided):
        """The second pass: `undecided` holds (suite, map, peer, n) of the
        timed targets the first left undecided. (program, output, arguments)
        of Google Benchmark runs, and map_latency's arguments per process."""
        if not (self.extra_repetitions and undecided):
            return [], []
        benchmarks, latency = [], []
        by_program = {}
        for suite, name, peer, n in undecided:
            program = self.catalog.suites.get(suite, {}).get("program")
            by_program.setdefault(program, set()).add((suite, name, peer, n))
        for program, output in ((PHASES, files.PHASES_TARGETS),
                                (WORKLOADS, files.WORKLOADS_TARGETS)):
            for far in (False, True):
                chosen = sorted(c for c in by_program.get(program, [])
                                if self.back_to_back([c[3]]) == far)
                if chosen:
                    exact = "^(%s)$" % "|".join(
                        re.escape("%s/%s/%d" % (suite, name, n))
                        for suite, a, b, n in chosen for name in (a, b))
                    benchmarks.append((program, output,
                                       self.filtered(sorted({c[3] for c in chosen}), exact,
                                                     self.extra_repetitions)))
        chosen = sorted(by_program.get(LATENCY, []))
        if chosen:
            arguments = ["--sizes=" + ",".join(str(n) for n in sorted({c[3] for c in chosen})),
                         "--maps=" + ",".join(sorted({m for c in chosen for m in c[1:3]})),
                         "--suites=" + ",".join(sorted({c[0] for c in chosen})),
                         "--operations=%d" % self.latency_operations]
            latency = [arguments + ["--shuffle=%d" % (100 + r)]
                       for r in range(self.extra_repetitions)]
        return benchmarks, latency

    def arguments(self, sizes, suites, maps, repetitions):
        """A Google Benchmark program's arguments for the suites and maps."""
        return self.filtered(sizes, self.filter(suites, maps, sizes), repetitions)

    def filtered(self, sizes, pattern, repetitions):
        """The same for the benchmarks a filter names: their repetitions in
        random order among all of them, each filling its map afresh, or back
        to back on one fill beyond the mode's limit."""
        arguments = ["--sizes=" + ",".join(map(str, sizes)),
                     "--benchmark_filter=" + pattern,
                     "--benchmark_min_time=%g" % self.min_time]
        if repetitions > 1:
            if not self.back_to_back(sizes):
                arguments.append(INTERLEAVED)
            arguments = with_repetitions(arguments, repetitions)
        return arguments


def with_repetitions(arguments, count):
    """The same Google Benchmark run with `count` repetitions."""
    kept = [a for a in arguments if not a.startswith(REPETITIONS)]
    return kept + ([REPETITIONS + str(count)] if count > 1 else [])
