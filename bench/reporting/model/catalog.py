"""What the bench programs run, as their `--list` tells it: the contenders
(our maps with their kind, order and peer; the peers; the unordered
reference; the floor), the suites of each program, the seed, the cut-offs
and the goals of our maps. The report takes every name from here."""
import fnmatch
import json
import os
import subprocess

from .goals import Goal

# The bench programs whose lists make the catalog.
PHASES = "map_phases_bench"
WORKLOADS = "map_workloads_bench"
LATENCY = "map_latency"
PROGRAMS = (PHASES, WORKLOADS, LATENCY)
# The workload suites of one find, independent and dependent on the
# previous result, which the latency section sets side by side.
FIND_PAIR = ("independent_find", "dependent_find")
# glibc's malloc advises transparent huge pages for its heap with this
# tunable; the kernel then backs the maps' memory with 2 MiB pages where it
# can (when /sys/kernel/mm/transparent_hugepage/enabled allows madvise).
HUGE_PAGES_ENV = {"GLIBC_TUNABLES": "glibc.malloc.hugetlb=1"}


def targets_of(listed):
    """The targets as a program lists them, the goals read into records."""
    return {"sizes": listed["sizes"], "goals": [Goal.from_json(g) for g in listed["goals"]]}


class Catalog:
    def __init__(self, documents):
        self.contenders = {}  # name -> entry, ours first, in the programs' order
        self.suites = {}      # name -> entry, with the program that runs it
        self.programs = {}    # program -> [suite names]
        self.members = {}     # program -> [the contenders it runs]
        # The target sizes, and the goals of our kinds (goals.Goal).
        self.targets = {"sizes": [], "goals": []}
        self.facts = {}
        for document in documents:
            for entry in document["contenders"]:
                self.contenders.setdefault(entry["name"], entry)
            names = []
            for suite in document["suites"]:
                self.suites[suite["name"]] = dict(suite, program=document["program"])
                names.append(suite["name"])
            self.programs[document["program"]] = names
            self.members[document["program"]] = [c["name"] for c in document["contenders"]]
            if "targets" in document:
                self.targets = targets_of(document["targets"])
            for key in ("seed", "program_order", "batch", "largest_random_array_fill"):
                self.facts.setdefault(key, document.get(key))
            self.facts.update(document.get("context", {}))

    @classmethod
    def from_programs(cls, paths, flags=None):
        """The lists of the bench programs at these paths; `flags`, {program
        name: [its flags]}, such as the workload program's --mix, whose
        suites then join its list."""
        flags = flags or {}
        return cls([json.loads(subprocess.run(
            [path, "--list"] + list(flags.get(os.path.basename(path), [])), check=True,
            capture_output=True, text=True).stdout) for path in paths])

    def to_json(self):
        targets = dict(self.targets, goals=[goal.to_json() for goal in self.targets["goals"]])
        return {"contenders": list(self.contenders.values()), "suites": list(self.suites.values()),
                "programs": self.programs, "members": self.members, "targets": targets,
                "facts": self.facts}

    @classmethod
    def from_json(cls, saved):
        catalog = cls([])
        catalog.contenders = {c["name"]: c for c in saved["contenders"]}
        catalog.suites = {s["name"]: s for s in saved["suites"]}
        catalog.programs, catalog.targets = saved["programs"], targets_of(saved["targets"])
        catalog.facts = saved["facts"]
        catalog.members = saved.get("members", {})  # {} in lists saved before it was
        return catalog

    def role(self, name):
        entry = self.contenders.get(name)
        return entry["role"] if entry else None

    def peer(self, name):
        entry = self.contenders.get(name)
        return entry["peer"] if entry and entry["peer"] else None

    def scans(self, name):
        """Whether the contender walks its keys in order (lists from before
        scans were listed: every contender)."""
        return self.contenders[name].get("scans", True)

    def runs_at(self, suite, name, n):
        """Whether the bench programs run the contender in the suite at n: the
        suite's program runs the contender, a sorted array stops at the
        suite's cut-off, and a scan suite needs a contender that scans."""
        entry, info = self.contenders.get(name), self.suites.get(suite)
        if not entry or not info or name not in self.members.get(info["program"], [name]):
            return False
        if entry.get("quadratic_fill") and n > info.get("largest_array", n):
            return False
        return self.scans(name) or not info.get("scans", False)

    def suite_scans(self, suite):
        return self.suites.get(suite, {}).get("scans", False)

    def without_scan(self, suite):
        """The contenders a scan suite leaves out, having no ordered scan."""
        if not self.suite_scans(suite):
            return []
        return [name for name in self.contenders
                if not self.scans(name) and self.role(name) != "floor"]

    def with_role(self, role):
        return [name for name, entry in self.contenders.items() if entry["role"] == role]

    def kinds(self):
        """Our kinds, in registration order."""
        kinds = []
        for entry in self.contenders.values():
            if entry["role"] == "ours" and entry["kind"] not in kinds:
                kinds.append(entry["kind"])
        return kinds

    def variants(self, kind):
        """The contenders of one of our kinds, by ascending order."""
        found = [e for e in self.contenders.values() if e["role"] == "ours" and e["kind"] == kind]
        return [e["name"] for e in sorted(found, key=lambda e: e["order"])]

    def takes_order(self, kind):
        return any(self.contenders[name]["order"] for name in self.variants(kind))

    def order(self, name):
        return self.contenders[name]["order"]

    def kind_peer(self, kind):
        variants = self.variants(kind)
        return self.peer(variants[0]) if variants else None

    def rank(self, name):
        names = list(self.contenders)
        return names.index(name) if name in names else len(names)

    def suites_of(self, program):
        return self.programs.get(program, [])

    def select(self, patterns, names):
        """The names matching any of the patterns (names or shell-style
        globs), in the order of `names`; a pattern matching nothing is an
        error, reported with what there is."""
        chosen = []
        for pattern in patterns:
            matches = [name for name in names if fnmatch.fnmatchcase(name, pattern)]
            if not matches:
                raise ValueError("'%s' matches none of: %s" % (pattern, ", ".join(names)))
            chosen += [name for name in matches if name not in chosen]
        return [name for name in names if name in chosen]
