"""What a report runs: the mode's suites, sizes and repetitions, narrowed by
the user's --sizes, --maps, --workloads and --repetitions, as the processes
of the bench programs in the order they run (modes.py: rounds, and one map
a process from 1e6 on); and, once the first pass is judged, the further
repetitions of the targets it left undecided."""
import re
from dataclasses import dataclass, replace
from typing import Dict, Optional, Tuple

from ..model import files
from ..model.catalog import HUGE_PAGES_ENV, LATENCY, PHASES, WORKLOADS
from .modes import HUGE_PAGE_SIZES, MODES, ONE_MAP_FROM, processes_for

# Google Benchmark's flags for the repetitions of a process, and for taking
# its benchmarks in random order (each filling its map afresh).
REPETITIONS = "--benchmark_repetitions="
INTERLEAVED = "--benchmark_enable_random_interleaving=true"
# The workload program's flag for the suites of one map sharing its fill.
SHARE_FILLS = "--share-fills"


@dataclass(frozen=True)
class Command:
    """One process of a run: a bench program, its arguments, the file its
    results join (a Google Benchmark program's benchmarks add up in it,
    map_latency's document joins the list) and the round it runs in."""
    program: str
    arguments: Tuple[str, ...]
    output: files.OutputFile
    round: int = 0
    env: Optional[Dict[str, str]] = None


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


def in_rounds(commands):
    """The commands in the order they run: round by round, each round in
    the order given."""
    return sorted(commands, key=lambda command: command.round)


class Plan:
    """The processes of one report."""

    def __init__(self, catalog, mode, sizes=None, maps=None, workloads=None, repetitions=None,
                 huge_pages=None, standing=()):
        settings = MODES[mode]
        self.mode = mode
        self.catalog = catalog
        aimed = bool(sizes or maps or workloads or repetitions)
        self.targets_only = settings.targets_only and not aimed
        self.huge_page_programs = ([PHASES, WORKLOADS] if huge_pages else
                                   [] if huge_pages is False else settings.huge_page_programs)
        self.events = settings.events or (aimed and not self.targets_only)
        self.min_time = settings.min_time
        self.repetitions = repetitions or settings.repetitions
        # The second pass: only a mode's own runs, not a run the user aimed.
        self.extra_repetitions = 0 if aimed else settings.extra_repetitions
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
            self.sizes = {program: {s: list(sizes or settings.sizes[program])
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

    # The processes.

    def first_pass(self):
        """Every timed process of the first pass, in the order they run."""
        commands = []
        for program, output, targets_output in ((PHASES, files.PHASES, files.PHASES_TARGETS),
                                                (WORKLOADS, files.WORKLOADS,
                                                 files.WORKLOADS_TARGETS)):
            paired = self.huge_page_sizes(program) if program in self.huge_page_programs else []
            sizes_of = {s: [n for n in sizes if n not in paired]
                        for s, sizes in self.sizes.get(program, {}).items()}
            commands += self.processes(program, sizes_of, self.timed, self.repetitions,
                                       (output, targets_output))
        commands += self.huge_page_runs()
        commands += self.latency_runs(self.timed, self.latency_repetitions)
        return in_rounds(commands)

    def second_pass(self, undecided):
        """The processes of the second pass: `undecided` holds (suite, map,
        peer, n) of the timed targets the first left undecided, and each
        gets extra_repetitions more of the two maps it compares."""
        if not (self.extra_repetitions and undecided):
            return []
        wanted = {(suite, name, n) for suite, ours, peer, n in undecided for name in (ours, peer)}
        commands = []
        for program in (PHASES, WORKLOADS):
            sizes_of = {}
            for suite, _, n in sorted(wanted):
                if self.catalog.suites.get(suite, {}).get("program") == program:
                    sizes_of.setdefault(suite, []).append(n)
            commands += self.processes(program, {s: sorted(set(v)) for s, v in sizes_of.items()},
                                       lambda s, m, n: (s, m, n) in wanted,
                                       self.extra_repetitions,
                                       (files.PHASES_TARGETS if program == PHASES else
                                        files.WORKLOADS_TARGETS,) * 2, exact=True)
        commands += self.latency_runs(lambda s, m, n: (s, m, n) in wanted,
                                      self.extra_repetitions, shuffle_from=100)
        # Rounds of their own, after the first pass's, so that each
        # repetition keeps a round no other repetition of its map has.
        after = max(self.repetitions, self.latency_repetitions)
        return in_rounds([replace(c, round=c.round + after) for c in commands])

    def processes(self, program, sizes_of, wanted, repetitions, outputs, exact=False, env=None):
        """The processes of a Google Benchmark program for {suite: sizes}
        and the benchmarks `wanted(suite, map, n)` selects: below
        ONE_MAP_FROM one process a repetition of all of them, each size's
        goals beyond the target sizes into outputs[1]; from there on, one
        process of a map and a group of its suites that share a fill."""
        commands = []
        small = {s: [n for n in sizes if n < ONE_MAP_FROM] for s, sizes in sizes_of.items()}
        for sizes, suites in self.by_sizes({s: v for s, v in small.items() if v}):
            for output, chosen in self.by_output(sizes, outputs):
                names = [(s, m, n) for s in suites for m in self.maps for n in chosen
                         if wanted(s, m, n)]
                if not names:
                    continue
                pattern = exact_filter(names) if exact else self.filter(suites, chosen, wanted)
                commands += [Command(program, self.arguments(chosen, pattern, 1, INTERLEAVED),
                                     output, r, env) for r in range(repetitions)]
        large = sorted({n for sizes in sizes_of.values() for n in sizes if n >= ONE_MAP_FROM})
        for n in large:
            output = outputs[1] if self.beyond_targets([n]) else outputs[0]
            for name in self.maps:
                suites = [s for s, sizes in sizes_of.items() if n in sizes and wanted(s, name, n)]
                for group in self.fill_groups(suites):
                    pattern = "^(%s)/(%s)/" % (alternatives(group), re.escape(name))
                    commands += [Command(program, self.arguments([n], pattern, count, SHARE_FILLS),
                                         output, start, env)
                                 for start, count in processes_for(repetitions, n)]
        return commands

    def fill_groups(self, suites):
        """The suites in the groups a process of one map runs: those on the
        fills it keeps to its end, with the suites that build on fresh pages
        after them; and each suite that builds its maps on touched pages
        alone, for those land on memory the suite's own earlier builds
        freed."""
        kept, alone = [], []
        for suite in suites:
            info = self.catalog.suites[suite]
            (kept if info.get("shared_fill") or info.get("cold_heap") else alone).append(suite)
        return ([kept] if kept else []) + [[suite] for suite in alone]

    def by_output(self, sizes, outputs):
        """[(output, sizes)]: the sizes beyond the target sizes apart."""
        found = {}
        for n in sizes:
            found.setdefault(outputs[1] if self.beyond_targets([n]) else outputs[0], []).append(n)
        return list(found.items())

    def filter(self, suites, sizes, wanted):
        """The benchmarks of the suites on the chosen maps that `wanted`
        selects at any of the sizes."""
        groups = {}
        for suite in suites:
            chosen = tuple(m for m in self.maps if any(wanted(suite, m, n) for n in sizes))
            if chosen:
                groups.setdefault(chosen, []).append(suite)
        parts = ["(%s)/(%s)" % (alternatives(suites), alternatives(chosen))
                 for chosen, suites in groups.items()]
        return "^%s/" % parts[0] if len(parts) == 1 else "^(%s)/" % "|".join(parts)

    def arguments(self, sizes, pattern, repetitions, flag):
        """A Google Benchmark process: the sizes, the filter, the time per
        repetition, the repetitions and the flag of its kind of process."""
        arguments = ("--sizes=" + ",".join(map(str, sizes)), "--benchmark_filter=" + pattern,
                     "--benchmark_min_time=%g" % self.min_time, flag)
        return arguments + ((REPETITIONS + str(repetitions),) if repetitions > 1 else ())

    def latency_runs(self, wanted, repetitions, shuffle_from=1):
        """map_latency's processes, one a repetition: below ONE_MAP_FROM of
        every map and suite at once, each process in an order of its own;
        from there on, one map in one suite."""
        commands = []
        for sizes, suites in self.by_sizes(self.sizes.get(LATENCY, {})):
            small = [n for n in sizes if n < ONE_MAP_FROM]
            maps = [m for m in self.weighed_maps()
                    if any(wanted(s, m, n) for s in suites for n in small)]
            chosen = [s for s in suites if any(wanted(s, m, n) for m in maps for n in small)]
            if maps:
                commands += [self.latency_command(small, maps, chosen, r, shuffle_from + r)
                             for r in range(repetitions)]
            for n in [n for n in sizes if n >= ONE_MAP_FROM]:
                commands += [self.latency_command([n], [m], [s], r)
                             for m in self.weighed_maps() for s in suites if wanted(s, m, n)
                             for r in range(repetitions)]
        return commands

    def latency_command(self, sizes, maps, suites, round_index, shuffle=None):
        arguments = ("--sizes=" + ",".join(map(str, sizes)), "--maps=" + ",".join(maps),
                     "--suites=" + ",".join(suites), "--operations=%d" % self.latency_operations)
        return Command(LATENCY, arguments + (("--shuffle=%d" % shuffle,) if shuffle else ()),
                       files.LATENCY, round_index)

    def huge_page_sizes(self, program):
        """The sizes the huge-page runs repeat: those at or beyond 1e6, or
        the largest when a run measures none so large."""
        sizes = sorted({n for s in self.sizes.get(program, {}).values() for n in s})
        return [n for n in sizes if n in HUGE_PAGE_SIZES] or sizes[-1:]

    def huge_page_runs(self):
        """The largest sizes, each process once without and once with huge
        pages, which goes first alternating round by round, so that no slow
        spell of the machine falls on one side."""
        commands = []
        for program, without, with_huge in ((PHASES, files.PHASES, files.PHASES_HUGE),
                                            (WORKLOADS, files.WORKLOADS, files.WORKLOADS_HUGE)):
            suites = self.suites_of(program)
            if not (suites and program in self.huge_page_programs):
                continue
            sizes = self.huge_page_sizes(program)
            for command in self.processes(program, {s: sizes for s in suites}, self.timed,
                                          self.repetitions, (without, without)):
                pair = [command, Command(program, command.arguments, with_huge, command.round,
                                         HUGE_PAGES_ENV)]
                commands += pair if command.round % 2 == 0 else pair[::-1]
        return commands

    @staticmethod
    def by_sizes(sizes_of):
        """[(sizes, suites)]: the suites of {suite: sizes} measured at the same
        sizes, together."""
        groups = {}
        for suite, sizes in sizes_of.items():
            groups.setdefault(tuple(sorted(sizes)), []).append(suite)
        return [(list(sizes), suites) for sizes, suites in groups.items()]


def alternatives(names):
    return "|".join(map(re.escape, names))


def exact_filter(names):
    """A Google Benchmark filter of exactly these (suite, map, n)."""
    return "^(%s)$" % "|".join(re.escape("%s/%s/%d" % name) for name in names)
