"""The measured figures: per-repetition timings from Google Benchmark's JSON,
heap bytes per entry from map_memory, and counts from bench/counts."""
import math
import statistics

from . import run_name

# What the bench programs record of the machine beside each repetition.
INTERFERENCE_FIELDS = ("steal", "others", "interrupts_per_s", "load", "seconds", "page_faults")


class BadTime(ValueError):
    """A saved time that is not a positive finite number: a run that went
    wrong, which no comparison may take in."""


def per_operation(rate):
    """ns per operation from Google Benchmark's items per second, or nan."""
    try:
        return 1e9 / float(rate)
    except (TypeError, ValueError, ZeroDivisionError):
        return math.nan


class Timings:
    """ns per operation for every (suite, map, n), one value per repetition,
    from one or more Google Benchmark JSON documents; the roles, peers and
    kinds of the maps come from the catalog."""

    def __init__(self, documents, catalog):
        self.catalog = catalog
        self.context = documents[0].get("context", {}) if documents else {}
        self.samples = {}
        # (suite, map, n) -> each repetition's (round, repetition in its
        # process), or None where the run did not record its round:
        # repetitions of two maps with the same label ran in one round, close
        # in time, so that a slow spell of the machine moved both.
        self.labels = {}
        self.entries_per_scan = {}  # (suite, map, n) -> entries a short scan visits
        # (suite, map, n) -> what else the machine did, one dict per repetition
        self.interference = {}
        self.suites = []
        # (kind, measure, n) -> the variant that stands for a kind with several
        # (B-tree orders) when its goals are judged; see Results.standing.
        self.standing = {}
        # (suite, map, n) whose data an interrupted run still lacks.
        self.lacking = frozenset()
        for document in documents:
            for entry in document["benchmarks"]:
                if entry.get("run_type", "iteration") != "iteration" or "error_occurred" in entry:
                    continue
                key = tuple(run_name.parse(entry["run_name"]))
                label = (entry["round"], entry.get("repetition_index", 0)) \
                    if "round" in entry else None
                self.add(key, per_operation(entry.get("items_per_second")), label)
                if "entries_per_scan" in entry:
                    self.entries_per_scan[key] = entry["entries_per_scan"]
                if "steal" in entry:
                    self.interference.setdefault(key, []).append(
                        {field: entry.get(field, 0.0) for field in INTERFERENCE_FIELDS})

    def add(self, key, value, label=None):
        """One more repetition's value of (suite, map, n), with its label;
        BadTime, naming the benchmark, for a value that is not a positive
        number."""
        if not (isinstance(value, (int, float)) and math.isfinite(value) and value > 0):
            raise BadTime("%s: repetition %d reads %r ns; a time must be a positive number" % (
                run_name.join(*key), len(self.samples.get(key, [])) + 1, value))
        if key[0] not in self.suites:
            self.suites.append(key[0])
        self.samples.setdefault(key, []).append(value)
        self.labels.setdefault(key, []).append(label)

    @property
    def sizes(self):
        return sorted({n for _, _, n in self.samples})

    def sizes_of(self, suite):
        return sorted({n for s, _, n in self.samples if s == suite})

    def measured(self, program):
        """The suites of one program that have results, in its order."""
        return [s for s in self.catalog.suites_of(program) if s in self.suites]

    def repetitions(self, suite):
        """{n: the most repetitions any map ran at n}."""
        most = {}
        for (s, _, n), values in self.samples.items():
            if s == suite:
                most[n] = max(most.get(n, 0), len(values))
        return most

    def median(self, suite, name, n):
        values = self.samples.get((suite, name, n))
        return statistics.median(values) if values else None

    def names(self, suite):
        """The maps measured in the suite, in the catalog's order."""
        return sorted({name for s, name, _ in self.samples if s == suite}, key=self.catalog.rank)

    @classmethod
    def merged(cls, *parts):
        """One Timings of several (the phases and the workloads), or None."""
        present = [p for p in parts if p]
        if not present:
            return None
        merged = cls([], present[0].catalog)
        merged.context = present[0].context
        for part in present:
            merged.samples.update(part.samples)
            merged.labels.update(part.labels)
            merged.entries_per_scan.update(part.entries_per_scan)
            merged.interference.update(part.interference)
            merged.suites += [s for s in part.suites if s not in merged.suites]
        return merged


class Memory:
    def __init__(self, document):
        self.bytes = {(e["name"], e["n"]): e["bytes_per_entry"] for e in document["memory"]}

    def get(self, name, n):
        return self.bytes.get((name, n))


class Counts:
    def __init__(self, document):
        self.caches = document["caches"]
        self.peers = document["peers"]
        self.finds, self.mixes = document["finds"], document["mixes"]
        self.rows = document["counts"]
        self.by_key = {(r["name"], r["n"]): r for r in self.rows}
        self.sizes = sorted({r["n"] for r in self.rows})

    def get(self, name, n, phase, measure="instructions"):
        row = self.by_key.get((name, n))
        return row[phase][measure] if row else None

    def ratio(self, name, n, phase, peer=None, measure="instructions"):
        mine = self.get(name, n, phase, measure)
        theirs = self.get(peer or self.peers.get(name), n, phase, measure)
        return mine / theirs if mine and theirs else None
