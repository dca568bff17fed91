"""What the commands need from outside Python's standard library (Google
Benchmark, Abseil, gnuplot, valgrind), installed from Debian's packages by
tools/install-deps when missing, as ./run-tests installs the tests' own."""
import os
import subprocess
import sys

from .runner import ROOT


def ensure_bench_tools():
    """Installs what the bench lacks; quiet when nothing does. A failure
    (no network, no rights) ends the command with install-deps' message."""
    done = subprocess.run([os.path.join(ROOT, "tools", "install-deps"), "bench"])
    if done.returncode != 0:
        sys.exit("the bench's tools could not be installed (tools/install-deps bench)")
