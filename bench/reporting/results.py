"""The measured figures of one report: per-repetition timings from Google
Benchmark's JSON, heap bytes per entry from map_memory, counts from
bench/counts, and the comparisons of our maps with their peers."""
import os
import statistics
import sys

SIGNIFICANCE = 0.05


def ensure_scipy():
    """The U test needs scipy: Debian's python3-scipy serves /usr/bin/python3,
    so a script started by another Python starts again under that one."""
    try:
        import scipy  # noqa: F401
    except ImportError:
        system = "/usr/bin/python3"
        if os.path.exists(system) and os.path.realpath(sys.executable) != os.path.realpath(system):
            os.execv(system, [system] + sys.argv)
        sys.exit("%s needs scipy: apt-get install python3-scipy" % sys.argv[0])


def mann_whitney_p(a, b):
    """Two-sided p of the Mann-Whitney U test (scipy's)."""
    from scipy.stats import mannwhitneyu
    return mannwhitneyu(a, b, alternative="two-sided").pvalue


def ns(value):
    """"41.2", or "0.46" for the fractions of a nanosecond a walk takes per
    entry: two decimals below 10."""
    return "%.1f" % value if value >= 10 else "%.2f" % value


def size_label(n):
    text = str(n)
    return "1e%d" % (len(text) - 1) if text.strip("0") == "1" else text


class Comparison:
    """Our map against its peer on one measure: medians, their ratio and a
    two-sided Mann-Whitney U test over the repetitions."""

    def __init__(self, ours, peer, our_samples, peer_samples, test=mann_whitney_p):
        self.ours, self.peer = ours, peer
        self.our_median = statistics.median(our_samples)
        self.peer_median = statistics.median(peer_samples)
        self.ratio = self.our_median / self.peer_median
        self.p = None
        if len(our_samples) > 1 and len(peer_samples) > 1:
            self.p = test(our_samples, peer_samples)

    @property
    def verdict(self):
        if self.p is None:
            return "untested"
        if self.p >= SIGNIFICANCE:
            return "tie"
        return "better" if self.ratio < 1 else "worse"

    def test_text(self):
        if self.p is None:
            return "one run"
        return "p<0.001" if self.p < 0.001 else "p=%.3f" % self.p

    def text(self):
        test = self.test_text()
        return "%.2f %s (%s; %s vs %s ns)" % (self.ratio, self.verdict, test,
                                              ns(self.our_median), ns(self.peer_median))


class Timings:
    """ns per operation for every (suite, map, n), one value per repetition,
    from one or more Google Benchmark JSON documents; the roles, peers and
    kinds of the maps come from the catalog."""

    def __init__(self, documents, catalog):
        self.catalog = catalog
        self.context = documents[0].get("context", {})
        self.samples = {}
        self.entries_per_scan = {}  # (suite, map, n) -> entries a short scan visits
        self.suites = []
        for document in documents:
            for entry in document["benchmarks"]:
                if entry.get("run_type", "iteration") != "iteration" or "error_occurred" in entry:
                    continue
                suite, name, n = entry["run_name"].split("/")
                if suite not in self.suites:
                    self.suites.append(suite)
                key = (suite, name, int(n))
                self.samples.setdefault(key, []).append(1e9 / entry["items_per_second"])
                if "entries_per_scan" in entry:
                    self.entries_per_scan[key] = entry["entries_per_scan"]
        self.sizes = sorted({n for _, _, n in self.samples})

    def sizes_of(self, suite):
        return sorted({n for s, _, n in self.samples if s == suite})

    def fastest(self, suite, n, ours):
        """The name of our fastest map by median, or of the fastest ordered
        peer (the hash map is a reference point, not a peer here), or None."""
        role = "ours" if ours else "peer"
        timed = [(self.median(suite, name, n), name) for s, name, size in self.samples
                 if s == suite and size == n and self.catalog.role(name) == role]
        return min(timed)[1] if timed else None

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

    def best_variant(self, suite, kind, n):
        """The fastest contender of one of our kinds (its best order), or None."""
        timed = [(self.median(suite, name, n), name) for name in self.catalog.variants(kind)
                 if self.median(suite, name, n) is not None]
        return min(timed)[1] if timed else None

    def compare(self, suite, ours, n, peer=None):
        peer = peer or self.catalog.peer(ours)
        a, b = self.samples.get((suite, ours, n)), self.samples.get((suite, peer, n))
        return Comparison(ours, peer, a, b) if a and b else None


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

    def ratio(self, name, n, phase, peer=None):
        mine = self.get(name, n, phase)
        theirs = self.get(peer or self.peers.get(name), n, phase)
        return mine / theirs if mine and theirs else None
