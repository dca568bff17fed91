"""The values the commands' flags take, each checked before anything builds
or runs: a bad one ends the command with argparse's message naming the flag
and exit status 2, never with a traceback."""
import argparse
import math
import os

# The bench programs take record counts up to this (their --sizes).
LARGEST_SIZE = 100000000
# What a map of n records may take at most, with its records (std::map's
# 96 bytes an entry, and growth), and how many such maps a process holds
# at once (a process of one map keeps its random and its ascending fill,
# and builds one more).
HEAP_BYTES_PER_ENTRY = 160
MAPS_AT_ONCE = 3


def memory_bytes():
    """The machine's memory, from /proc/meminfo; None where it is not
    known."""
    try:
        with open("/proc/meminfo") as info:
            for line in info:
                if line.startswith("MemTotal:"):
                    return int(line.split()[1]) * 1024
    except (OSError, ValueError, IndexError):
        pass
    return None


def size(text, memory=None):
    """One record count: a whole number in either notation ("1e6",
    "100000"), within what the programs take and the machine's memory."""
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError("'%s' is not a record count" % text) from None
    if not math.isfinite(value) or value < 1 or value != int(value):
        raise argparse.ArgumentTypeError("'%s' is not a record count (a whole number from 1)"
                                         % text)
    count = int(value)
    if count > LARGEST_SIZE:
        raise argparse.ArgumentTypeError(
            "%s is beyond the largest record count the bench programs take (%d)" % (text,
                                                                                   LARGEST_SIZE))
    memory = memory_bytes() if memory is None else memory
    need = count * HEAP_BYTES_PER_ENTRY * MAPS_AT_ONCE
    if memory and need > memory:
        raise argparse.ArgumentTypeError(
            "%s records would take about %.0f GB of heap (%d bytes an entry, %d maps at once), "
            "more than this machine's %.0f GB" % (text, need / 1e9, HEAP_BYTES_PER_ENTRY,
                                                  MAPS_AT_ONCE, memory / 1e9))
    return count


def sizes(text):
    """"1e4,100000" as [10000, 100000]."""
    items = [item.strip() for item in text.split(",")]
    if not text.strip() or not all(items):
        raise argparse.ArgumentTypeError("'%s' is not a list of record counts, such as 1e4,1e6"
                                         % text)
    return [size(item) for item in items]


def count(least):
    """A whole number from `least` up."""
    def parse(text):
        try:
            value = int(text)
        except ValueError:
            raise argparse.ArgumentTypeError("'%s' is not a whole number" % text) from None
        if value < least:
            raise argparse.ArgumentTypeError("%s is less than %d" % (text, least))
        return value
    return parse


def seconds(text):
    """A positive, finite number of seconds."""
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError("'%s' is not a number of seconds" % text) from None
    if not math.isfinite(value) or value <= 0:
        raise argparse.ArgumentTypeError("%s is not a positive number of seconds" % text)
    return value


def names(text):
    """A comma-separated list of names or shell patterns, none empty."""
    items = [item.strip() for item in text.split(",")]
    if not text.strip() or not all(items):
        raise argparse.ArgumentTypeError("'%s' is not a comma-separated list of names" % text)
    return text


def folder(text):
    """An existing folder."""
    if not os.path.isdir(text):
        raise argparse.ArgumentTypeError("%s is not a folder" % text)
    return os.path.abspath(text)


def writable_folder(text):
    """A folder the command may create or write into: not a file, and
    within a folder that exists."""
    path = os.path.abspath(text)
    if os.path.exists(path) and not os.path.isdir(path):
        raise argparse.ArgumentTypeError("%s is a file, not a folder" % text)
    parent = path
    while not os.path.exists(parent):
        parent = os.path.dirname(parent)
    if not os.access(parent, os.W_OK):
        raise argparse.ArgumentTypeError("%s cannot be written" % text)
    return path


def output_file(text):
    """A file the command may write: in a folder that exists, not a folder
    itself."""
    path = os.path.abspath(text)
    if os.path.isdir(path):
        raise argparse.ArgumentTypeError("%s is a folder, not a file" % text)
    if not os.path.isdir(os.path.dirname(path)):
        raise argparse.ArgumentTypeError("%s lies in no folder that exists" % text)
    return path


def program(text):
    """An existing executable file."""
    if not (os.path.isfile(text) and os.access(text, os.X_OK)):
        raise argparse.ArgumentTypeError("%s is not a program" % text)
    return os.path.abspath(text)


# A mix of one's own (bench/harness/mix_recipe.h has the same grammar, and the
# program reads the RECIPE itself): operations with their shares, scans with
# their longest length, and the keys.
MIX_OPERATIONS = ("find", "miss", "insert", "erase", "update", "rmw", "scan")
MIX_KEYS = ("uniform", "zipf", "latest", "ascending", "descending")
LONGEST_SCAN = 1000000


def mix_number(text, what):
    try:
        value = float(text)
    except ValueError:
        raise argparse.ArgumentTypeError("%s: '%s' is not a number" % (what, text)) from None
    if not math.isfinite(value):
        raise argparse.ArgumentTypeError("%s: '%s' is not a number" % (what, text))
    return value


def mix_item(item, where, given):
    """Checks one item of a RECIPE; `given` collects the names seen."""
    if "=" not in item:
        raise argparse.ArgumentTypeError("%s: an item reads NAME=VALUE" % where)
    name, value = item.split("=", 1)
    if name != "keys" and name not in MIX_OPERATIONS:
        raise argparse.ArgumentTypeError(
            "%s: '%s' is neither an operation (%s) nor keys" % (where, name,
                                                                ", ".join(MIX_OPERATIONS)))
    if name in given:
        raise argparse.ArgumentTypeError("%s: %s is given twice" % (where, name))
    given.add(name)
    if name == "keys":
        kind, _, exponent = value.partition(":")
        if kind not in MIX_KEYS or (exponent and kind != "zipf") or (
                value.endswith(":") and kind == "zipf"):
            raise argparse.ArgumentTypeError("%s: keys are uniform, zipf, zipf:EXPONENT, "
                                             "latest, ascending or descending" % where)
        if exponent and not 0 <= mix_number(exponent, where + ", the exponent") <= 5:
            raise argparse.ArgumentTypeError("%s: the exponent lies from 0 to 5" % where)
        return 0.0
    if name == "scan":
        if ":" not in value:
            raise argparse.ArgumentTypeError("%s: a scan reads scan=SHARE:LONGEST, such as "
                                             "scan=5:100" % where)
        value, longest = value.split(":", 1)
        length = mix_number(longest, where + ", the longest scan")
        if not (1 <= length <= LONGEST_SCAN and length == int(length)):
            raise argparse.ArgumentTypeError("%s: the longest scan is a whole number from 1 to "
                                             "%d" % (where, LONGEST_SCAN))
    share = mix_number(value, where + ", the share")
    if share <= 0:
        raise argparse.ArgumentTypeError("%s: a share is a positive number" % where)
    return share


def mix(text):
    """A RECIPE such as find=95,insert=5,keys=zipf:0.99, checked item by item."""
    if not text:
        raise argparse.ArgumentTypeError("an empty mix: give operations with their shares, "
                                         "such as find=95,insert=5")
    given = set()
    total = sum(mix_item(item, "item %d ('%s')" % (index, item), given)
                for index, item in enumerate(text.split(","), 1))
    if total <= 0:
        raise argparse.ArgumentTypeError("no operation: give at least one, such as find=100")
    return text


def trace(text):
    """A trace file that exists and can be read; its lines are checked by
    the program before anything is timed."""
    if not os.path.isfile(text) or not os.access(text, os.R_OK):
        raise argparse.ArgumentTypeError("%s is not a file that can be read" % text)
    return os.path.abspath(text)
