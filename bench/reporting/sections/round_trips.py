"""The dependent finds in round trips of the machine's memory: a lookup one
at a time costs at least one round trip for each line it reads that is not
in the cache (one a level of a tree, and the record), so its time over the
round trip at its size says how far a map is from what the machine allows."""
from ..model.catalog import FIND_PAIR
from ..render.table import markdown_table
from ..render.text import bytes_text, ns, round_trip_text, size_label

DEPENDENT = FIND_PAIR[1]


def measured(workloads, machine):
    """The sizes at which both the dependent finds and the round trip were
    measured."""
    if not workloads or DEPENDENT not in workloads.suites:
        return []
    trips = machine.round_trips()
    return [n for n in workloads.sizes_of(DEPENDENT) if n in trips]


def round_trip_table(workloads, machine, sizes):
    """Per map: its dependent find at each size, in ns and in round trips."""
    trips = machine.round_trips()
    rows = [["map"] + ["n=" + size_label(n) for n in sizes]]
    for name in workloads.names(DEPENDENT):
        cells = [round_trip_text(workloads.median(DEPENDENT, name, n), trips[n])
                 if workloads.median(DEPENDENT, name, n) else "" for n in sizes]
        if any(cells):
            rows.append([name] + cells)
    return markdown_table(rows, numeric=list(range(1, len(sizes) + 1)))


def round_trip_lines(workloads, machine, pictures=()):
    sizes = measured(workloads, machine)
    if not sizes:
        return []
    working = machine.round_trip_bytes()
    chase = ", ".join("%s ns at %s (n=%s)" % (ns(machine.round_trips()[n]),
                                             bytes_text(working[n]), size_label(n))
                      for n in sorted(machine.round_trips()))
    return ["", "### Dependent finds in round trips of the machine's memory", "",
            "The machine's memory round trip, one load that cannot start before the one "
            "before it has ended (a pointer chase over a random cycle of 64-byte lines through "
            "32 bytes a record, `round_trip`): %s. A lookup one at a time costs at least one "
            "round trip for each line it reads beyond the caches: one a level of a tree, "
            "and the record. The median dependent find of each map:" % chase, ""] + \
        round_trip_table(workloads, machine, sizes) + \
        [""] + ["![%s](%s)" % (p[:-4], p) for p in pictures]


def readme_lines(workloads, machine, largest=2):
    """README's summary: the dependent finds at the largest sizes measured."""
    sizes = [n for n in measured(workloads, machine) if n >= 1000000][-largest:]
    if not sizes:
        return []
    return ["", "Dependent finds in round trips of the machine's memory (a pointer chase at "
            "32 bytes a record):", ""] + round_trip_table(workloads, machine, sizes)
