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
