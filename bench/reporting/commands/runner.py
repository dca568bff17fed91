"""Runs the bench programs a report's plan asks for and saves what they
write, each into its file of the folder."""
import json
import os
import subprocess
import tempfile

from ..analysis.targets import UNDECIDED, judge_all
from ..model import files
from ..model.catalog import LATENCY
from . import machine_probe
from .plan import suite_of

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(
    __file__)))))
DEFAULT_BUILD = os.path.join(ROOT, "build", "bench")
COUNTS = os.path.join(ROOT, "bench", "counts")


def run(command, stdout=None, env=None):
    settings = " ".join("%s=%s" % item for item in (env or {}).items())
    print("+ " + (settings + " " if settings else "") +
          " ".join(os.path.relpath(c, ROOT) if c.startswith(ROOT) else c for c in command),
          flush=True)
    subprocess.run(command, check=True, cwd=ROOT, stdout=stdout,
                   env=dict(os.environ, **env) if env else None)


def tool(build, name):
    return os.path.join(build, "bench", name)


def build_tools(build):
    if build == DEFAULT_BUILD:
        run(["cmake", "--preset", "bench"], stdout=subprocess.DEVNULL)
        run(["cmake", "--build", "--preset", "bench"], stdout=subprocess.DEVNULL)
    else:
        run(["cmake", "--build", build, "-j2"], stdout=subprocess.DEVNULL)


def append_run(out, output, command, env, marks):
    """Runs a Google Benchmark program once and adds its benchmarks to the
    file (created by the first run), each with `marks`: the round it ran
    in."""
    with tempfile.NamedTemporaryFile(suffix=".json") as single:
        run(command + ["--benchmark_out=" + single.name, "--benchmark_out_format=json"],
            stdout=subprocess.DEVNULL, env=env)
        with open(single.name) as source:
            document = json.load(source)
    for entry in document["benchmarks"]:
        entry.update(marks)
    collected = files.read(out, output)
    if collected is not None:
        collected["benchmarks"] += document["benchmarks"]
        document = collected
    files.write(out, output, document)


def program_document(build, program, arguments):
    """The JSON document a bench program writes to its standard output."""
    with tempfile.TemporaryFile("w+") as single:
        run([tool(build, program)] + list(arguments), stdout=single)
        single.seek(0)
        return json.load(single)


def execute(out, commands, build):
    """Runs the processes in their order, each adding its results to its
    file marked with its round, so that the repetitions of two maps timed
    in one round pair up; with a line a round."""
    rounds = sorted({c.round for c in commands})
    current = None
    for command in commands:
        marks = {"round": command.round}
        if command.round != current:
            current = command.round
            print("== round %d of %d" % (rounds.index(current) + 1, len(rounds)), flush=True)
        if command.program == LATENCY:
            documents = files.read(out, files.LATENCY) or []
            document = dict(program_document(build, LATENCY, command.arguments), **marks)
            files.write(out, files.LATENCY, documents + [document])
        else:
            append_run(out, command.output, [tool(build, command.program)] +
                       list(command.arguments), command.env, marks)


def run_all(out, plan, build):
    """Everything the plan asks for, after removing the results of an
    earlier run from `out`; first the variants to judge our kinds on, when
    the plan was given them."""
    for output in files.MEASURED:
        if os.path.exists(files.path(out, output)):
            os.remove(files.path(out, output))
    if plan.standing_records:
        files.write(out, files.STANDING, plan.standing_records, indent=1)
    record = machine_probe.machine(build, ROOT, out)
    sizes = plan.round_trip_sizes()
    if sizes:
        print("== the memory round trip at each size's working set", flush=True)
        record["round_trip"] = program_document(
            build, "round_trip", ["--sizes=" + ",".join(map(str, sizes))])["round_trips"]
    files.write(out, files.MACHINE, record, indent=1)
    commands = plan.first_pass()
    print("== %d processes in %d rounds" % (len(commands), len({c.round for c in commands})),
          flush=True)
    execute(out, commands, build)
    if plan.weighs():
        print("== heap bytes per entry", flush=True)
        with open(files.path(out, files.MEMORY), "w") as memory:
            run([tool(build, "map_memory"), "--sizes=" + ",".join(map(str, plan.memory_sizes)),
                 "--maps=" + ",".join(plan.weighed_maps())], stdout=memory)
    for scans, output, wanted in ((False, files.COUNTS, plan.counts()),
                                  (True, files.SCAN_COUNTS, plan.scan_counts())):
        if wanted:
            print("== instruction and cache-miss counts%s" % (" of the scans" if scans else ""),
                  flush=True)
            run([COUNTS] + (["--scans"] if scans else []) +
                ["--out", files.path(out, output), "--tool", tool(build, "map_counts"),
                 "--maps"] + plan.maps + ["--sizes"] + [str(n) for n in plan.counts_sizes],
                stdout=subprocess.DEVNULL)
    events = plan.events_arguments()
    if events:
        print("== structural steps of the slow calls (map_events)", flush=True)
        with open(files.path(out, files.EVENTS), "w") as saved:
            run([tool(build, "map_events")] + events, stdout=saved)
    run_second_pass(out, plan, build)


def undecided_targets(out, plan):
    """(suite, map, peer, n) of every timed target whose interval the runs
    so far leave straddling its goal."""
    results = files.Results(out, plan.catalog)
    judged = results.judged()
    if not judged:
        return []
    return [(suite_of(t.measure), t.name, t.peer, t.n)
            for t in judge_all(judged, results.memory, results.counts, results.reached)
            if t.outcome == UNDECIDED]


def run_second_pass(out, plan, build):
    """More repetitions of the benchmarks behind the undecided targets, added
    to the first pass's: a decided interval needs no more."""
    undecided = undecided_targets(out, plan) if plan.extra_repetitions else []
    commands = plan.second_pass(undecided)
    if not commands:
        return
    print("== %d targets undecided: %d more repetitions of what they compare" % (
        len(undecided), plan.extra_repetitions), flush=True)
    execute(out, commands, build)
