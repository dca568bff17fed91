"""What a report runs, as its commands: the mode's suites, sizes and
repetitions, narrowed by the user's --sizes, --maps, --workloads and
--repetitions, as the processes of the bench programs in the order they run
(modes.py: rounds, and one map a process from 1e6 on), then the heap
weights, the counts and the structural steps; and, once the first pass is
judged, the further repetitions of the targets it left undecided. Nothing
here runs a program."""
from dataclasses import replace

from ..model import files
from ..model.catalog import LATENCY, PHASES, WORKLOADS
from ..model.goals import BYTES, INSTRUCTIONS, L1_MISSES
from .command import CACHE_PROBE, COUNTS, DOCUMENT, ROUND_TRIP, Command, in_rounds
from .modes import MODES, extra_at
from . import processes
from .processes import INTERLEAVED, SHARE_FILLS, Processes  # noqa: F401 (the plan's flags)


# The chase before each round: round_trip's records of 32 bytes, and its
# laps (each of 2^20 loads: 0.3 to 3 s in all on a machine whose cache
# comes and goes).
PROBE_BYTES_PER_RECORD = 32
PROBE_LAPS = 20


def patterns(text):
    return [item.strip() for item in text.split(",") if item.strip()] if text else []


class Plan:
    """The processes of one report."""

    def __init__(self, catalog, mode, sizes=None, maps=None, workloads=None, repetitions=None,
                 huge_pages=None, standing=(), asked=(), free_memory=None, cache_bytes=None):
        settings = MODES[mode]
        self.mode = mode
        self.catalog = catalog
        # The workload program's flags for the suites a user asked for (a mix
        # of one's own, a trace): every process of that program takes them.
        self.asked = tuple(asked)
        aimed = bool(sizes or maps or workloads or repetitions or asked)
        self.targets_only = settings.targets_only and not aimed
        self.huge_page_programs = ([PHASES, WORKLOADS] if huge_pages else
                                   [] if huge_pages is False else settings.huge_page_programs)
        self.events = settings.events or (aimed and not self.targets_only)
        self.min_time = settings.min_time
        self.repetitions = repetitions or settings.repetitions
        # The second pass: only a mode's own runs, not a run the user aimed.
        self.extra_repetitions = () if aimed else settings.extra_repetitions
        self.latency_repetitions = repetitions or settings.latency.repetitions
        self.latency_operations = settings.latency.operations
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
            self.memory_sizes = self.counts_sizes = catalog.targets["sizes"]
            # Goals beyond the target sizes are written to files of their own.
            self.targets_beyond = max(catalog.targets["sizes"] or [0])
        else:
            self.sizes = {program: {s: list(catalog.suites[s].get("sizes") or sizes or
                                            settings.sizes[program])
                                    for s in catalog.suites_of(program) if s in self.suites}
                          for program in (PHASES, WORKLOADS)}
            self.sizes[LATENCY] = {s: list(sizes or settings.latency.sizes)
                                   for s in catalog.suites_of(LATENCY) if s in self.suites}
            self.memory_sizes = sizes or list(settings.memory_sizes)
            self.counts_sizes = sizes or list(settings.counts_sizes)
            self.targets_beyond = None
        # The variants that stand for our kinds, chosen before the run
        # (analysis.targets.standing), as saved beside it; and by (kind,
        # suite, n).
        self.standing_records = list(standing)
        self.standing = {}
        for record in self.standing_records:
            key = (record["kind"], record["suite"], record["n"])
            self.standing.setdefault(key, set()).add(record["name"])
        # The machine's free bytes, which bound the processes that run side
        # by side: as the run's start saw them, so that a resumed run keeps
        # its groups and the numbers of its commands.
        self.free_memory = free_memory if free_memory is not None else processes.free_memory()
        # The machine's last-level cache in bytes, which the chase before
        # each round covers half of; None: no chase.
        self.cache_bytes = cache_bytes
        self.processes = Processes(self)

    # What the targets ask.

    def goal_sizes(self):
        """{program: {suite: sizes}} of every goal's suite at the goal's sizes
        (the target sizes when it has none of its own)."""
        wanted = {PHASES: {}, WORKLOADS: {}, LATENCY: {}}
        for goal in self.catalog.targets["goals"]:
            suite = goal.run_suite
            program = self.catalog.suites.get(suite, {}).get("program")
            if program in wanted and suite in self.suites:
                sizes = goal.sizes or self.catalog.targets["sizes"]
                wanted[program][suite] = sorted(set(wanted[program].get(suite, [])) | set(sizes))
        return wanted

    def goal_maps(self):
        """{suite: the chosen maps of the kinds with a goal timed in that
        suite, and their peers}; the memory and counts take every one of
        ours and the peers."""
        kinds = {}
        for goal in self.catalog.targets["goals"]:
            kinds.setdefault(goal.run_suite or goal.key, set()).add(goal.kind)
        maps = {}
        for suite, chosen in kinds.items():
            ours = [m for m in self.maps if self.catalog.role(m) == "ours" and
                    self.catalog.contenders[m]["kind"] in chosen]
            peers = {self.catalog.peer(m) for m in ours}
            maps[suite] = [m for m in self.maps if m in ours or m in peers]
        return maps

    def stands(self, name, suite, sizes):
        """Whether a map is timed in a suite at these sizes: every peer, and
        every variant of ours but, in a run of the targets alone, those that
        do not stand for their kind there, when the kind's standing variant
        is known at every size: the other orders would not be judged, and
        at 1e6 and 1e7 a fill takes seconds to half a minute."""
        if self.catalog.role(name) != "ours" or not self.targets_only:
            return True
        kind = self.catalog.contenders[name]["kind"]
        standing = [self.standing.get((kind, suite, n)) for n in sizes]
        return None in standing or any(name in names for names in standing)

    def beyond_targets(self, sizes):
        return self.targets_only and min(sizes) > self.targets_beyond

    def timed(self, suite, name, n):
        """Whether the first pass times the map in the suite at n."""
        return (name in self.maps_of.get(suite, self.maps) and self.stands(name, suite, [n])
                and self.catalog.runs_at(suite, name, n))

    # What else a run measures.

    def suites_of(self, program):
        return list(self.sizes.get(program, {}))

    def weighs(self):
        """Heap weights go with the fill, or with a goal on them."""
        if self.targets_only:
            return any(g.statistic == BYTES for g in self.catalog.targets["goals"])
        return "fill" in self.suites_of(PHASES)

    def counts(self):
        if self.targets_only:
            return any(g.statistic in (INSTRUCTIONS, L1_MISSES)
                       for g in self.catalog.targets["goals"])
        return bool({"find", "mix"} & set(self.suites_of(PHASES)))

    def scan_counts(self):
        """Scan counts go with the scan suites (not in a run of the targets
        alone, which set no goal on them)."""
        return not self.targets_only and any(self.catalog.suite_scans(s)
                                             for s in self.suites_of(WORKLOADS))

    def weighed_maps(self):
        return [m for m in self.maps if self.catalog.role(m) != "floor"]

    def round_trip_sizes(self):
        """Every size the run times: the memory round trip is measured at
        the working set of each."""
        return sorted({n for suites in self.sizes.values() for sizes in suites.values()
                       for n in sizes})

    def events_arguments(self):
        """map_events at the latency sizes, when the plan counts the steps."""
        sizes = sorted({n for s in self.sizes.get(LATENCY, {}).values() for n in s})
        if not (self.events and sizes):
            return None
        return ["--operations=%d" % self.latency_operations,
                "--sizes=" + ",".join(map(str, sizes))]

    # The commands.

    def first_pass(self):
        """Every command of the first pass, in the order they run: the
        memory round trip, the timed processes round by round (each round
        after the chase over half the cache), then the heap weights, the
        counts and the structural steps."""
        timed = []
        for program, output, targets_output in ((PHASES, files.PHASES, files.PHASES_TARGETS),
                                                (WORKLOADS, files.WORKLOADS,
                                                 files.WORKLOADS_TARGETS)):
            paired = self.processes.huge_page_sizes(program) \
                if program in self.huge_page_programs else []
            sizes_of = {s: [n for n in sizes if n not in paired]
                        for s, sizes in self.sizes.get(program, {}).items()}
            timed += self.processes.benchmarks(program, sizes_of, self.timed, self.repetitions,
                                               (output, targets_output))
        timed += self.processes.huge_pages()
        timed += self.processes.latency(self.timed, self.latency_repetitions)
        return self.round_trip() + self.probed(in_rounds(timed)) + self.untimed()

    def extra_at(self, n):
        """The second pass's repetitions of a target at size n."""
        return extra_at(self.extra_repetitions, n)

    def second_pass(self, undecided):
        """The processes of the second pass: `undecided` holds (suite, map,
        peer, n) of the timed targets the first left undecided, and each
        gets extra_at(n) more repetitions of the two maps it compares."""
        wanted = {(suite, name, n) for suite, ours, peer, n in undecided
                  for name in (ours, peer) if self.extra_at(n)}
        commands = []
        for repetitions in sorted({self.extra_at(n) for _, _, n in wanted}):
            chosen = {name for name in wanted if self.extra_at(name[2]) == repetitions}
            commands += self.more_of(chosen, repetitions)
        # Rounds of their own, after the first pass's, so that each
        # repetition keeps a round no other repetition of its map has.
        after = max(self.repetitions, self.latency_repetitions)
        return self.probed(in_rounds([replace(c, round=c.round + after) for c in commands]))

    def more_of(self, wanted, repetitions):
        """`repetitions` more of each (suite, map, n) wanted."""
        commands = []
        for program in (PHASES, WORKLOADS):
            sizes_of = {}
            for suite, _, n in sorted(wanted):
                if self.catalog.suites.get(suite, {}).get("program") == program:
                    sizes_of.setdefault(suite, []).append(n)
            output = files.PHASES_TARGETS if program == PHASES else files.WORKLOADS_TARGETS
            commands += self.processes.benchmarks(
                program, {s: sorted(set(v)) for s, v in sizes_of.items()},
                lambda s, m, n: (s, m, n) in wanted, repetitions, (output, output), exact=True)
        return commands + self.processes.latency(lambda s, m, n: (s, m, n) in wanted,
                                                 repetitions, shuffle_from=100)

    def round_trip(self):
        sizes = self.round_trip_sizes()
        return [Command("round_trip", ("--sizes=" + ",".join(map(str, sizes)),), files.MACHINE,
                        ROUND_TRIP)] if sizes else []

    def probed(self, commands):
        """The commands in rounds, each round after a chase over half the
        last-level cache: how much of it the host leaves this machine while
        the round runs, which the times of maps near its size follow."""
        if not self.cache_bytes:
            return commands
        records = max(1, self.cache_bytes // 2 // PROBE_BYTES_PER_RECORD)
        probed, current = [], None
        for command in commands:
            if command.round != current:
                current = command.round
                probed.append(Command("round_trip", ("--sizes=%d" % records,
                                                     "--laps=%d" % PROBE_LAPS),
                                      files.MACHINE, CACHE_PROBE, round=current))
            probed.append(command)
        return probed

    def untimed(self):
        """The heap weights, the counts and the structural steps."""
        commands = []
        if self.weighs():
            commands.append(Command("map_memory", (
                "--sizes=" + ",".join(map(str, self.memory_sizes)),
                "--maps=" + ",".join(self.weighed_maps())), files.MEMORY, DOCUMENT))
        counted = ("--maps",) + tuple(self.maps) + ("--sizes",) + tuple(
            str(n) for n in self.counts_sizes)
        if self.counts():
            commands.append(Command("bench/counts", counted, files.COUNTS, COUNTS))
        if self.scan_counts():
            commands.append(Command("bench/counts", ("--scans",) + counted, files.SCAN_COUNTS,
                                    COUNTS))
        events = self.events_arguments()
        if events:
            commands.append(Command("map_events", tuple(events), files.EVENTS, DOCUMENT))
        return commands
