"""Processes side by side, taking turns: the runner starts the processes of
a group at once, each with two pipes (--turns=GRANTS,REQUESTS); a process
asks for a turn before each run of a benchmark (its fill, its untimed
warm-up and its timed calls), and the runner grants one only while every
process still running waits for one, round the group. So one runs at a
time, run by run: a map and its peer are timed seconds apart, where a slow
spell of the machine moves both alike, and no process times while another
works. (Fills made at once interleave the processes' pages, and the maps'
finds at 1e7 then ran 20 % to 3 times slower; turns call by call left
each timed call to fill the caches the other process had taken.)"""
import os
import selectors
import subprocess

ASK = b"w"
GRANT = b"g"


class Member:
    def __init__(self, argv, cwd, env, stdout):
        grants_out, self.grants = os.pipe()      # the runner writes, the process reads
        self.requests, requests_in = os.pipe()   # the process writes, the runner reads
        self.process = subprocess.Popen(
            argv + ["--turns=%d,%d" % (grants_out, requests_in)], cwd=cwd, env=env,
            stdout=stdout, pass_fds=(grants_out, requests_in))
        os.close(grants_out)
        os.close(requests_in)
        self.waiting = False
        self.running = True

    def grant(self):
        self.waiting = False
        try:
            os.write(self.grants, GRANT)
        except BrokenPipeError:
            pass  # it has ended; its requests' end closing says so

    def ended(self):
        self.running = self.waiting = False
        os.close(self.requests)
        os.close(self.grants)


def run_together(processes, cwd=None):
    """Runs [(argv, env, stdout)] side by side, taking turns; returns their
    exit codes, in order."""
    members = [Member(argv, cwd, env, stdout) for argv, env, stdout in processes]
    selector = selectors.DefaultSelector()
    for member in members:
        selector.register(member.requests, selectors.EVENT_READ, member)
    try:
        turns(members, selector)
    except BaseException:
        for member in members:
            member.process.kill()
            member.process.wait()
        raise
    finally:
        selector.close()
    return [member.process.wait() for member in members]


def turns(members, selector):
    """Grants the turns until every member has ended."""
    last = len(members) - 1
    while any(m.running for m in members):
        for key, _ in selector.select():
            member = key.data
            asked = os.read(member.requests, 64)
            if not asked:
                selector.unregister(member.requests)
                member.ended()
            elif asked != ASK or member.waiting:
                raise RuntimeError("a process asked for turns it cannot use: %r" % asked)
            else:
                member.waiting = True
        running = [m for m in members if m.running]
        if running and all(m.waiting for m in running):
            last = next(i % len(members) for i in range(last + 1, last + 1 + len(members))
                        if members[i % len(members)].waiting)
            members[last].grant()
