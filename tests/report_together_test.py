"""Processes side by side, taking turns: with stand-ins that log each turn,
no two turns overlap, the turns go round the group, the first waits until
every process has asked, and a process that ends early, fails or breaks the
protocol neither stalls nor hides from the others. And the plan: from 1e6
on, a map and its peer run side by side in each round, as many at once as
the memory holds."""
import os
import shutil
import sys
import tempfile
import time
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.commands import processes  # noqa: E402
from reporting.commands.plan import Plan  # noqa: E402
from reporting.commands.runner import side_by_side  # noqa: E402
from reporting.commands.together import run_together  # noqa: E402
from reporting.model.catalog import Catalog  # noqa: E402
from report_fixtures import contender, goal  # noqa: E402

# A stand-in process: NAME TURNS DELAY [EXIT_AFTER CODE], --turns=G,R. It
# waits DELAY seconds before it first asks, takes TURNS turns of 20 ms,
# logging each, and ends (with CODE after EXIT_AFTER turns, if given).
STAND_IN = r'''
import os, sys, time
name, turns, delay = sys.argv[1], int(sys.argv[2]), float(sys.argv[3])
stop = int(sys.argv[4]) if len(sys.argv) > 5 else None
grants, requests = map(int, sys.argv[-1].split("=")[1].split(","))
log = os.open(os.environ["TURNS_LOG"], os.O_WRONLY | os.O_APPEND)
def note(what):
    os.write(log, ("%s %s %.6f\n" % (what, name, time.monotonic())).encode())
time.sleep(delay)
for turn in range(turns):
    if turn == stop:
        sys.exit(int(sys.argv[5]))
    note("ask")
    os.write(requests, os.environ.get("TURNS_ASK", "w").encode())
    if os.read(grants, 1) != b"g":
        sys.exit(9)
    note("start")
    time.sleep(0.02)
    note("end")
'''


class TurnsTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()
        self.script = os.path.join(self.folder, "stand_in.py")
        with open(self.script, "w") as out:
            out.write(STAND_IN)
        self.log = os.path.join(self.folder, "turns.log")
        open(self.log, "w").close()

    def tearDown(self):
        shutil.rmtree(self.folder)

    def run_group(self, members, ask="w"):
        env = dict(os.environ, TURNS_LOG=self.log, TURNS_ASK=ask)
        return run_together([([sys.executable, self.script] + [str(a) for a in member], env,
                              None) for member in members])

    def events(self):
        with open(self.log) as log:
            return [(what, name, float(at)) for what, name, at in
                    (line.split() for line in log)]

    def turns(self):
        events = self.events()
        starts = [(name, at) for what, name, at in events if what == "start"]
        ends = [at for what, _, at in events if what == "end"]
        return starts, ends

    def test_turns_never_overlap_and_go_round_the_group(self):
        self.assertEqual(self.run_group([("a", 4, 0), ("b", 4, 0), ("c", 2, 0)]), [0, 0, 0])
        events = [(what, name) for what, name, _ in self.events() if what != "ask"]
        # Each start is followed by its own end before any other start.
        for first, second in zip(events[::2], events[1::2]):
            self.assertEqual((first[0], second[0], first[1]), ("start", "end", second[1]))
        order = [name for what, name in events if what == "start"]
        self.assertEqual(order, ["a", "b", "c", "a", "b", "c", "a", "b", "a", "b"])

    def test_the_first_turn_waits_until_every_process_has_asked(self):
        self.assertEqual(self.run_group([("quick", 2, 0), ("slow", 2, 0.3)]), [0, 0])
        events = self.events()
        slow_asks = min(at for what, name, at in events if (what, name) == ("ask", "slow"))
        first = min(at for what, _, at in events if what == "start")
        self.assertGreaterEqual(first, slow_asks)

    def test_a_process_that_ends_or_fails_early_stalls_no_other(self):
        started = time.monotonic()
        codes = self.run_group([("a", 3, 0), ("none", 0, 0), ("fails", 3, 0, 1, 5)])
        self.assertEqual(codes, [0, 0, 5])
        self.assertLess(time.monotonic() - started, 10)
        starts, _ = self.turns()
        self.assertEqual([name for name, _ in starts].count("a"), 3)

    def test_a_process_that_breaks_the_protocol_ends_the_group(self):
        with self.assertRaises(RuntimeError):
            self.run_group([("a", 3, 0), ("b", 3, 0)], ask="x")


MAPS = [contender("Tree_16", "ours", "peer_tree", "Tree", 16),
        contender("Tree_64", "ours", "peer_tree", "Tree", 64),
        contender("List", "ours", "peer_list", "List", 1), contender("peer_tree", "peer"),
        contender("peer_list", "peer")]
CATALOG = Catalog([
    {"program": "map_workloads_bench", "contenders": MAPS,
     "suites": [{"name": "walk", "unit": "entry", "largest_array": 100, "scans": True,
                 "shared_fill": "random"},
                {"name": "ascending_insert", "unit": "operation", "largest_array": 100}],
     "targets": {"sizes": [1000], "goals": [goal("Tree", "walk", 1.0)]}},
])


class SideBySideTest(unittest.TestCase):
    def setUp(self):
        self.free = processes.free_memory

    def tearDown(self):
        processes.free_memory = self.free

    def groups(self, free):
        processes.free_memory = lambda: free
        plan = Plan(CATALOG, "full", sizes=[1000, 1000000], workloads="*", repetitions=2)
        found = []
        for group in side_by_side(plan.first_pass(), 0):
            if len(group) > 1:
                names = tuple(next(iter(c.times))[1] for _, c in group)
                suites = tuple(sorted({s for _, c in group for s, _, _ in c.times}))
                found.append((group[0][1].round, suites, names))
        return found

    def test_each_map_runs_beside_its_peer_in_every_round_from_1e6(self):
        groups = self.groups(free=1 << 40)
        # The peer first in the first round; the order turns round by round.
        expected = [(0, (suite,), maps) for suite in ("ascending_insert", "walk")
                    for maps in (("peer_tree", "Tree_16", "Tree_64"), ("peer_list", "List"))] + [
                        (1, (suite,), maps) for suite in ("ascending_insert", "walk")
                        for maps in (("Tree_16", "Tree_64", "peer_tree"), ("List", "peer_list"))]
        self.assertEqual(sorted(groups), sorted(expected))

    def test_a_group_the_memory_cannot_hold_splits_the_peer_first(self):
        # Room for two maps of 1e6 entries at once.
        groups = self.groups(free=2 * 2 * processes.BYTES_AN_ENTRY * 1000000)
        self.assertIn((0, ("walk",), ("peer_tree", "Tree_16")), groups)
        self.assertNotIn(("Tree_64",), [g[2] for g in groups])
        self.assertEqual(processes.together_at_most(1000000, None), 2)

    def test_a_resumed_run_keeps_its_groups_whatever_memory_is_free_then(self):
        # The free memory the run's start saw comes with the plan.
        def commands(free_now):
            processes.free_memory = lambda: free_now
            return Plan(CATALOG, "full", sizes=[1000000], workloads="*", repetitions=3,
                        free_memory=2 * 2 * processes.BYTES_AN_ENTRY * 1000000).first_pass()
        self.assertEqual(commands(1 << 40), commands(1 << 20))


if __name__ == "__main__":
    unittest.main()
