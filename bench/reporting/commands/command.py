"""One process of a report's run, as the plan gives it and the runner runs
it: a program, its arguments, the file its results go to, how they go
there, the round it runs in and the benchmarks it times."""
import re
from dataclasses import dataclass, field
from typing import Dict, FrozenSet, Optional, Tuple

from ..model import files

# How a command's results join its output file:
BENCHMARKS = "benchmarks"  # a Google Benchmark program's runs, added to the file's
LATENCY_RUNS = "latency"   # map_latency's document, added to the file's list
DOCUMENT = "document"      # the JSON the program prints is the file
COUNTS = "counts"          # bench/counts, which writes the file itself
ROUND_TRIP = "round trip"  # round_trip's document, kept in machine.json
CACHE_PROBE = "cache probe"  # round_trip's laps over half the L3 before a round, kept there too


@dataclass(frozen=True)
class Command:
    program: str
    arguments: Tuple[str, ...]
    output: files.OutputFile
    kind: str = BENCHMARKS
    round: int = 0
    env: Optional[Dict[str, str]] = None
    # The (suite, map, n) it times: what lacks its data while it has not run.
    times: FrozenSet[Tuple[str, str, int]] = field(default_factory=frozenset)
    # The commands of a round with the same label run side by side, taking
    # turns (together.py); None: alone.
    together: Optional[int] = None

    def describe(self):
        """"map_workloads_bench --sizes=... ", as a line of a report."""
        return " ".join((self.program,) + self.arguments)


def in_rounds(commands):
    """The commands in the order they run: round by round, each round in
    the order given."""
    return sorted(commands, key=lambda command: command.round)


def alternatives(names):
    return "|".join(map(re.escape, names))


def exact_filter(names):
    """A Google Benchmark filter of exactly these (suite, map, n)."""
    return "^(%s)$" % "|".join(re.escape("%s/%s/%d" % name) for name in names)
