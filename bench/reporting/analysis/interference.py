"""Which repetitions the machine took much from: time stolen by the host or
taken by other tasks beyond a share of the run; and which touched fresh
pages inside their timed region, where the declared heap should have left
none to touch. Their figures stay in the report (the intervals widen with
them), and the report names them."""
from dataclasses import dataclass

# CPU-seconds per second of a run. Both are read in clock ticks (10 ms), so
# runs shorter than SHORTEST (where one tick is 5 % or more) are not judged.
STEAL_LIMIT = 0.10
OTHERS_LIMIT = 0.25
SHORTEST = 0.2
# Page faults a repetition may take without a word: the library's and the
# timer's own (a few); a map that grew onto fresh pages takes thousands.
FAULT_LIMIT = 64


@dataclass(frozen=True)
class Disturbed:
    suite: str
    name: str
    n: int
    repetition: int
    steal: float
    others: float


def disturbed(interference):
    """The repetitions past either limit, from {(suite, map, n): [record of
    each repetition]}."""
    found = []
    for (suite, name, n), records in sorted(interference.items()):
        for repetition, record in enumerate(records):
            if record.get("seconds", 0) < SHORTEST:
                continue
            if record.get("steal", 0) > STEAL_LIMIT or record.get("others", 0) > OTHERS_LIMIT:
                found.append(Disturbed(suite, name, n, repetition, record.get("steal", 0),
                                       record.get("others", 0)))
    return found


def share_of(disturbed_runs, interference):
    """How many of all recorded repetitions were disturbed."""
    total = sum(len(records) for records in interference.values())
    return len(disturbed_runs), total


@dataclass(frozen=True)
class Faulted:
    suite: str
    name: str
    n: int
    repetition: int
    faults: float


def fresh_pages(interference, cold_suites=()):
    """The repetitions that took more than FAULT_LIMIT page faults, but in
    the suites that build on fresh pages by design."""
    found = []
    for (suite, name, n), records in sorted(interference.items()):
        if suite in cold_suites:
            continue
        for repetition, record in enumerate(records):
            if record.get("page_faults", 0) > FAULT_LIMIT:
                found.append(Faulted(suite, name, n, repetition, record["page_faults"]))
    return found
