"""The processes that time: of the Google Benchmark programs and of
map_latency, in the process design every mode shares (modes.py): below
ONE_MAP_FROM one process a round of every map, from there on one map a
process, its suites grouped by the fills they share; and the huge-page
pairs."""
import itertools
import re
from dataclasses import replace

from ..model import files
from ..model.catalog import HUGE_PAGES_ENV, LATENCY, PHASES, WORKLOADS
from .command import LATENCY_RUNS, Command, alternatives, exact_filter
from .modes import HUGE_PAGE_SIZES, ONE_MAP_FROM

# What a process that runs side by side may hold an entry of its map, at
# most (the largest map weighs 82 bytes an entry at 1e7, the keys and the
# queries beside it less than 20), and the share of the memory the machine
# has free that the processes of a group may take together.
BYTES_AN_ENTRY = 128
SHARE_OF_FREE_MEMORY = 0.5


def free_memory():
    """The bytes the machine has available, from /proc/meminfo; None where
    it cannot tell."""
    try:
        with open("/proc/meminfo") as info:
            for line in info:
                if line.startswith("MemAvailable:"):
                    return int(line.split()[1]) * 1024
    except (OSError, ValueError, IndexError):
        pass
    return None


def together_at_most(n, free):
    """How many processes of maps of n entries may run side by side in
    `free` bytes (two where the machine cannot tell)."""
    if free is None:
        return 2
    return max(1, int(free * SHARE_OF_FREE_MEMORY // (n * BYTES_AN_ENTRY)))

# Google Benchmark's flag for taking a process's benchmarks in random order
# (each filling its map afresh).
INTERLEAVED = "--benchmark_enable_random_interleaving=true"
# The workload program's flag for the suites of one map sharing its fills.
SHARE_FILLS = "--share-fills"


def by_sizes(sizes_of):
    """[(sizes, suites)]: the suites of {suite: sizes} measured at the same
    sizes, together."""
    groups = {}
    for suite, sizes in sizes_of.items():
        groups.setdefault(tuple(sorted(sizes)), []).append(suite)
    return [(list(sizes), suites) for sizes, suites in groups.items()]


class Processes:
    """The timing processes of a plan (plan.Plan): its maps, its min time,
    which sizes lie beyond its targets."""

    def __init__(self, plan):
        self.plan = plan
        self.catalog = plan.catalog
        self.labels = itertools.count()  # of the groups that run side by side
        self.free = plan.free_memory

    def benchmarks(self, program, sizes_of, wanted, repetitions, outputs, exact=False,
                   env=None):
        """The processes of a Google Benchmark program for {suite: sizes}
        and the benchmarks `wanted(suite, map, n)` selects: below
        ONE_MAP_FROM one process a repetition of all of them, the sizes
        beyond the target sizes into outputs[1]; from there on, one process
        of a map and a group of its suites."""
        commands = []
        small = {s: [n for n in sizes if n < ONE_MAP_FROM] for s, sizes in sizes_of.items()}
        for sizes, suites in by_sizes({s: v for s, v in small.items() if v}):
            for output, chosen in self.by_output(sizes, outputs):
                names = frozenset((s, m, n) for s in suites for m in self.plan.maps
                                  for n in chosen if wanted(s, m, n))
                if not names:
                    continue
                pattern = exact_filter(sorted(names)) if exact else \
                    self.filter(suites, chosen, wanted)
                arguments = self.arguments(program, chosen, pattern, INTERLEAVED)
                commands += [Command(program, arguments, output, round=r, env=env, times=names)
                             for r in range(repetitions)]
        large = sorted({n for sizes in sizes_of.values() for n in sizes if n >= ONE_MAP_FROM})
        for n in large:
            output = outputs[1] if self.plan.beyond_targets([n]) else outputs[0]
            alone = [(name, group) for name in self.plan.maps
                     for group in self.fill_groups([s for s, sizes in sizes_of.items()
                                                    if n in sizes and wanted(s, name, n)])]
            for members in self.side_by_side(alone, n):
                label = next(self.labels) if len(members) > 1 else None
                # The first of a group fills first and takes the first turn:
                # the order turns round by round, so that no map always does.
                for r in range(repetitions):
                    for name, group in members[r % len(members):] + members[:r % len(members)]:
                        pattern = "^(%s)/(%s)/" % (alternatives(group), re.escape(name))
                        commands.append(Command(
                            program, self.arguments(program, [n], pattern, SHARE_FILLS), output,
                            round=r, env=env, times=frozenset((s, name, n) for s in group),
                            together=label))
        return commands

    def side_by_side(self, processes, n):
        """The processes [(map, suites)] of one size in the groups that run
        side by side, taking turns: a map with its peer wherever they time a
        suite in common, as many in a group as the free memory holds at
        once. A larger group splits into several: the peers first, then the
        maps that stand for their kinds at n, so that those stay beside
        their peers."""
        found = list(range(len(processes)))

        def root(i):
            while found[i] != i:
                i = found[i]
            return i

        peer = self.catalog.peer
        for i, (name, suites) in enumerate(processes):
            for j, (other, others) in enumerate(processes[:i]):
                if set(suites) & set(others) and (peer(name) == other or peer(other) == name):
                    found[root(i)] = root(j)
        standing = {name for (_, _, size), names in self.plan.standing.items() if size == n
                    for name in names}
        groups = {}
        for i, process in enumerate(processes):
            groups.setdefault(root(i), []).append(process)
        chunks, most = [], together_at_most(n, self.free)
        for members in groups.values():
            members.sort(key=lambda p: (peer(p[0]) is not None, p[0] not in standing))
            chunks += [members[k:k + most] for k in range(0, len(members), most)]
        return chunks

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
            found.setdefault(outputs[1] if self.plan.beyond_targets([n]) else outputs[0],
                             []).append(n)
        return list(found.items())

    def filter(self, suites, sizes, wanted):
        """The benchmarks of the suites on the chosen maps that `wanted`
        selects at any of the sizes."""
        groups = {}
        for suite in suites:
            chosen = tuple(m for m in self.plan.maps if any(wanted(suite, m, n) for n in sizes))
            if chosen:
                groups.setdefault(chosen, []).append(suite)
        parts = ["(%s)/(%s)" % (alternatives(suites), alternatives(chosen))
                 for chosen, suites in groups.items()]
        return "^%s/" % parts[0] if len(parts) == 1 else "^(%s)/" % "|".join(parts)

    def arguments(self, program, sizes, pattern, flag):
        """A Google Benchmark process of one repetition: the sizes, the
        filter, the time it runs, the flag of its kind of process and, for
        the workload program, the suites the user asked for."""
        arguments = ("--sizes=" + ",".join(map(str, sizes)), "--benchmark_filter=" + pattern,
                     "--benchmark_min_time=%g" % self.plan.min_time, flag)
        return arguments + (self.plan.asked if program == WORKLOADS else ())

    def latency(self, wanted, repetitions, shuffle_from=1):
        """map_latency's processes, one a repetition: below ONE_MAP_FROM of
        every map and suite at once, each process in an order of its own;
        from there on, one map in one suite, or in the suites that share its
        fill."""
        commands = []
        maps = self.plan.weighed_maps()
        for sizes, suites in by_sizes(self.plan.sizes.get(LATENCY, {})):
            small = [n for n in sizes if n < ONE_MAP_FROM]
            names = frozenset((s, m, n) for s in suites for m in maps for n in small
                              if wanted(s, m, n))
            if names:
                chosen = [m for m in maps if any(name[1] == m for name in names)]
                timed = [s for s in suites if any(name[0] == s for name in names)]
                commands += [self.latency_command(small, chosen, timed, r, names, shuffle_from + r)
                             for r in range(repetitions)]
            commands += [self.latency_command([n], [m], group, r,
                                              frozenset((s, m, n) for s in group),
                                              share=len(group) > 1)
                         for n in sizes if n >= ONE_MAP_FROM for m in maps
                         for group in self.fill_groups([s for s in suites if wanted(s, m, n)])
                         for r in range(repetitions)]
        return commands

    def latency_command(self, sizes, maps, suites, round_index, names, shuffle=None,
                        share=False):
        arguments = ("--sizes=" + ",".join(map(str, sizes)), "--maps=" + ",".join(maps),
                     "--suites=" + ",".join(suites),
                     "--operations=%d" % self.plan.latency_operations)
        return Command(LATENCY, arguments + (("--shuffle=%d" % shuffle,) if shuffle else ()) +
                       ((SHARE_FILLS,) if share else ()), files.LATENCY, LATENCY_RUNS,
                       round_index, times=names)

    def huge_page_sizes(self, program):
        """The sizes the huge-page runs repeat: those at or beyond 1e6, or
        the largest when a run measures none so large."""
        sizes = sorted({n for s in self.plan.sizes.get(program, {}).values() for n in s})
        return [n for n in sizes if n in HUGE_PAGE_SIZES] or sizes[-1:]

    def huge_pages(self):
        """The largest sizes, each process once without and once with huge
        pages, which goes first alternating round by round, so that no slow
        spell of the machine falls on one side."""
        commands = []
        for program, without, with_huge in ((PHASES, files.PHASES, files.PHASES_HUGE),
                                            (WORKLOADS, files.WORKLOADS, files.WORKLOADS_HUGE)):
            suites = self.plan.suites_of(program)
            if not (suites and program in self.plan.huge_page_programs):
                continue
            sizes = self.huge_page_sizes(program)
            for command in self.benchmarks(program, {s: sizes for s in suites}, self.plan.timed,
                                           self.plan.repetitions, (without, without)):
                command = replace(command, together=None)
                pair = [command, Command(program, command.arguments, with_huge,
                                         round=command.round, env=HUGE_PAGES_ENV)]
                commands += pair if command.round % 2 == 0 else pair[::-1]
        return commands
