"""bench/compare's own logic: a ref that names no commit, a worktree that
goes away however the comparison ends, a tree that does not build, and the
verdicts of its table."""
import os
import subprocess
import sys
import tempfile
import unittest

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
sys.path.insert(0, os.path.join(ROOT, "bench"))

from reporting.commands import compare  # noqa: E402


def make_repository(folder, cmake_text):
    """A repository of one commit whose bench preset runs `cmake_text`."""
    def git(*arguments):
        subprocess.run(["git", "-C", folder] + list(arguments), check=True,
                       capture_output=True)
    git("init", "-q")
    with open(os.path.join(folder, "CMakeLists.txt"), "w") as out:
        out.write(cmake_text)
    with open(os.path.join(folder, "CMakePresets.json"), "w") as out:
        out.write('{"version": 6, "configurePresets": [{"name": "bench", "binaryDir": '
                  '"${sourceDir}/build/bench"}], "buildPresets": [{"name": "bench", '
                  '"configurePreset": "bench"}]}')
    git("add", "-A")
    git("-c", "user.name=t", "-c", "user.email=t@t", "commit", "-qm", "one")
    return subprocess.run(["git", "-C", folder, "rev-parse", "HEAD"], check=True,
                          capture_output=True, text=True).stdout.strip()


class CompareTest(unittest.TestCase):
    def setUp(self):
        self.folder = tempfile.mkdtemp()

    def tearDown(self):
        subprocess.run(["rm", "-rf", self.folder])

    def worktrees(self):
        listing = subprocess.run(["git", "-C", self.folder, "worktree", "list"], check=True,
                                 capture_output=True, text=True).stdout
        return len(listing.strip().split("\n"))

    def test_a_ref_that_names_no_commit_is_refused(self):
        make_repository(self.folder, "")
        with self.assertRaisesRegex(compare.CompareError, "'nothing~3' names no commit"):
            compare.resolve(self.folder, "nothing~3")

    def test_the_worktree_goes_away_when_interrupted(self):
        commit = make_repository(self.folder, "")
        parent = os.path.join(self.folder, "build", "compare")
        with self.assertRaises(KeyboardInterrupt):
            with compare.worktree(self.folder, commit, parent) as path:
                self.assertTrue(os.path.exists(os.path.join(path, "CMakeLists.txt")))
                self.assertEqual(self.worktrees(), 2)
                raise KeyboardInterrupt
        self.assertFalse(os.path.exists(path))
        self.assertEqual(self.worktrees(), 1)

    def test_a_tree_that_does_not_build_says_so_with_its_log(self):
        commit = make_repository(self.folder, "this is not cmake(\n")
        parent = os.path.join(self.folder, "build", "compare")
        log = os.path.join(self.folder, "old.log")
        with compare.worktree(self.folder, commit, parent) as path:
            with self.assertRaisesRegex(compare.CompareError,
                                        "old does not build .*old.log") as raised:
                compare.build(path, "old", log)
            self.assertEqual(raised.exception.status, compare.BUILD_FAILED)
        self.assertEqual(self.worktrees(), 1)

    def test_verdicts_follow_the_interval_from_the_new_side(self):
        # new / old round by round: 5/10, 6/11, ... 9/14
        faster = compare.time_table({"find/M/1": ([10, 11, 12, 13, 14], [5, 6, 7, 8, 9])})
        self.assertEqual(faster[2], "| find/M/1 | 12.0 | 7.00 | 0.58 [0.51, 0.65] | p<0.001 "
                                    "| better |")
        slower = compare.time_table({"find/M/1": ([5, 6, 7, 8, 9], [10, 11, 12, 13, 14])})
        self.assertTrue(slower[2].endswith("| worse |"))
        tie = compare.time_table({"find/M/1": ([10, 11, 12, 13, 14], [10, 12, 13, 11, 15])})
        self.assertTrue(tie[2].endswith("| tie |"))


if __name__ == "__main__":
    unittest.main()
