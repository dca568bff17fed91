"""Runs the commands of a report's plan and saves what they write. A run
works in a staging folder beside its results (`OUT.partial`): each command
saves its output there under its number, so that an interrupted run
resumes where it stopped (`bench/report --resume`), and the outputs are
put together into the report's files; only a complete run moves its files
into the results folder, replacing the old ones."""
import json
import os
import shutil
import subprocess
import tempfile

from ..analysis.targets import UNDECIDED, judge_all, may_decide
from ..model import files
from .command import BENCHMARKS, CACHE_PROBE, COUNTS, DOCUMENT, LATENCY_RUNS, ROUND_TRIP
from .together import run_together

ROOT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(
    __file__)))))
DEFAULT_BUILD = os.path.join(ROOT, "build", "bench")
SCRIPTS = {"bench/counts": os.path.join(ROOT, "bench", "counts")}
# What a staging folder keeps beside the report's files: how the run was
# asked for, and each command's own output.
PLAN_FILE = "plan.json"
OUTPUTS = "commands"


def show(command, env=None):
    settings = " ".join("%s=%s" % item for item in (env or {}).items())
    print("+ " + (settings + " " if settings else "") +
          " ".join(os.path.relpath(c, ROOT) if c.startswith(ROOT) else c for c in command),
          flush=True)


def environment(env):
    return dict(os.environ, **env) if env else None


def run(command, stdout=None, env=None):
    show(command, env)
    subprocess.run(command, check=True, cwd=ROOT, stdout=stdout, env=environment(env))


def tool(build, name):
    return os.path.join(build, "bench", name)


def build_tools(build):
    if build == DEFAULT_BUILD:
        run(["cmake", "--preset", "bench"], stdout=subprocess.DEVNULL)
        run(["cmake", "--build", "--preset", "bench"], stdout=subprocess.DEVNULL)
    else:
        run(["cmake", "--build", build, "-j2"], stdout=subprocess.DEVNULL)


def staging_of(out):
    return out.rstrip(os.sep) + ".partial"


def output_path(staging, number):
    return os.path.join(staging, OUTPUTS, "%05d.json" % number)


def save(path, write):
    """Calls write(file) on a file that takes `path`'s name only once it is
    complete: an interrupted command leaves nothing behind."""
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with tempfile.NamedTemporaryFile("w", dir=os.path.dirname(path), delete=False) as part:
        write(part)
    os.replace(part.name, path)


def written(command, out_flags, env=None):
    """The JSON document a command writes to the file its flags name."""
    with tempfile.NamedTemporaryFile(suffix=".json") as single:
        run(command + out_flags(single.name), stdout=subprocess.DEVNULL, env=env)
        with open(single.name) as source:
            return json.load(source)


def execute(command, build, path):
    """Runs one command, its output saved at `path`."""
    if command.kind in (BENCHMARKS, COUNTS):
        document = written(
            [tool(build, command.program)] + list(command.arguments),
            lambda name: ["--benchmark_out=" + name, "--benchmark_out_format=json"],
            command.env) if command.kind == BENCHMARKS else written(
            [SCRIPTS[command.program]] + list(command.arguments),
            lambda name: ["--out", name, "--tool", tool(build, "map_counts")])
        save(path, lambda part: json.dump(document, part))
    else:
        save(path, lambda part: run([tool(build, command.program)] + list(command.arguments),
                                    stdout=part, env=command.env))


def execute_together(numbered, build, staging):
    """Runs the Google Benchmark commands [(number, command)] side by side,
    taking turns, each one's output saved under its number; what they print
    follows, one process after another."""
    print("== %d processes side by side, taking turns" % len(numbered), flush=True)
    with tempfile.TemporaryDirectory() as scratch:
        processes = []
        for number, command in numbered:
            argv = [tool(build, command.program)] + list(command.arguments) + [
                "--benchmark_out=%s/%d.json" % (scratch, number), "--benchmark_out_format=json"]
            show(argv, command.env)
            processes.append((argv, environment(command.env),
                              open(os.path.join(scratch, "%d.log" % number), "w")))
        try:
            codes = run_together(processes, cwd=ROOT)
        finally:
            for _, _, log in processes:
                log.close()
        for (number, command), (argv, _, _), code in zip(numbered, processes, codes):
            with open(os.path.join(scratch, "%d.log" % number)) as log:
                print(log.read(), end="", flush=True)
            if code != 0:
                raise subprocess.CalledProcessError(code, argv)
        for number, _ in numbered:
            with open(os.path.join(scratch, "%d.json" % number)) as source:
                document = json.load(source)
            save(output_path(staging, number), lambda part: json.dump(document, part))


def side_by_side(commands, first):
    """The commands in the groups they run in, numbered from `first`: those
    of one round with one `together` label in one group, each other alone."""
    groups = []
    for number, command in enumerate(commands, first):
        previous = groups[-1][-1][1] if groups else None
        if command.together is not None and previous is not None and \
                (previous.together, previous.round) == (command.together, command.round):
            groups[-1].append((number, command))
        else:
            groups.append([(number, command)])
    return groups


def run_commands(staging, commands, build, first=0, after_each=lambda: None):
    """Runs each command whose output the staging folder lacks, numbered
    from `first`, with a line a round of the processes that time, and one
    for each other command; those that run side by side at once. Calls
    after_each() once for each command saved."""
    timing = (BENCHMARKS, LATENCY_RUNS)
    rounds = sorted({c.round for c in commands if c.kind in timing})
    current = None
    for group in side_by_side(commands, first):
        group = [(n, c) for n, c in group if not os.path.exists(output_path(staging, n))]
        if not group:
            continue
        number, command = group[0]
        in_round = command.kind in timing or command.kind == CACHE_PROBE
        if in_round and command.round != current and len(rounds) > 1:
            current = command.round
            print("== round %d of %d" % (rounds.index(current) + 1, len(rounds)), flush=True)
        if command.kind == CACHE_PROBE:
            print("== the cache the host leaves: a chase over half the last-level cache",
                  flush=True)
        elif command.kind not in timing:
            print("== %s" % ("the memory round trip at each size's working set"
                             if command.kind == ROUND_TRIP else command.output.holds),
                  flush=True)
        if len(group) > 1:
            execute_together(group, build, staging)
        else:
            execute(command, build, output_path(staging, number))
        for _ in group:
            after_each()


def assemble(staging, commands):
    """Puts the saved outputs of the commands together into the report's
    files in the staging folder; returns the commands that have none yet."""
    collected, missing, probes = {}, [], []
    for number, command in enumerate(commands):
        path = output_path(staging, number)
        if not os.path.exists(path):
            missing.append(command)
            continue
        with open(path) as saved:
            document = json.load(saved)
        if command.kind == BENCHMARKS:
            for entry in document["benchmarks"]:
                entry["round"] = command.round
            target = collected.setdefault(command.output, dict(document, benchmarks=[]))
            target["benchmarks"] += document["benchmarks"]
        elif command.kind == LATENCY_RUNS:
            collected.setdefault(command.output, []).append(dict(document, round=command.round))
        elif command.kind == ROUND_TRIP:
            record = files.read(staging, files.MACHINE) or {}
            record["round_trip"] = document["round_trips"]
            collected[files.MACHINE] = record
        elif command.kind == CACHE_PROBE:
            probes += [{"round": command.round, "bytes": chase["bytes"],
                        "laps_ns": chase["laps_ns"]} for chase in document["round_trips"]]
        elif command.kind in (DOCUMENT, COUNTS):
            collected[command.output] = document
    if probes:
        record = collected.get(files.MACHINE) or files.read(staging, files.MACHINE) or {}
        collected[files.MACHINE] = dict(record, cache_probe=probes)
    for output, document in collected.items():
        files.write(staging, output, document, indent=1 if output == files.MACHINE else None)
    return missing


def undecided_targets(folder, plan):
    """(suite, map, peer, n) of every timed target whose interval the runs
    so far leave straddling its goal, and of those the second pass's
    repetitions may decide."""
    results = files.Results(folder, plan.catalog)
    judged = results.judged()
    if not judged:
        return [], []
    undecided = [t for t in judge_all(judged, results.memory, results.counts, results.reached)
                 if t.outcome == UNDECIDED]
    return [[(t.goal.run_suite, t.name, t.peer, t.n) for t in chosen]
            for chosen in (undecided, [t for t in undecided if may_decide(t, plan.extra_at(t.n))])]


def all_commands(staging, plan, build=None, after_each=lambda: None):
    """Every command of the run: the first pass and, once it is complete,
    the second; runs what is missing when given a build, calling
    after_each() once each command is saved. Returns the commands and those
    still missing."""
    first = plan.first_pass()
    if build:
        print("== %d commands, %d processes that time in %d rounds" % (
            len(first), sum(1 for c in first if c.times), len({c.round for c in first})),
            flush=True)
        run_commands(staging, first, build, after_each=after_each)
    missing = assemble(staging, first)
    if missing:
        return first, missing
    undecided, worth = undecided_targets(staging, plan) if plan.extra_repetitions else ([], [])
    second = plan.second_pass(worth)
    if build and undecided:
        print("== %d targets undecided, %d of which more repetitions may decide: %s more of "
              "what they compare" % (len(undecided), len(worth), ", ".join(
                  sorted({"%d at n=%d" % (plan.extra_at(n), n) for _, _, _, n in worth}))),
              flush=True)
    if build and second:
        run_commands(staging, second, build, len(first), after_each)
    commands = first + second
    return commands, assemble(staging, commands)


def move_into_place(staging, out):
    """The complete run's files replace those of the results folder, then
    the staging folder goes."""
    os.makedirs(out, exist_ok=True)
    for output in files.MEASURED + [files.LIST]:
        if os.path.exists(files.path(out, output)):
            os.remove(files.path(out, output))
        if os.path.exists(files.path(staging, output)):
            os.replace(files.path(staging, output), files.path(out, output))
    shutil.rmtree(staging)
