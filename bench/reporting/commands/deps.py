"""What the commands need from outside Python's standard library."""
import os
import sys


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
