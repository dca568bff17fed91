"""The name of one benchmark run, "suite/contender/n", as the bench
programs build it."""
from collections import namedtuple

RunName = namedtuple("RunName", "suite name n")


def parse(text):
    """"find/BTree_64/10000" as RunName("find", "BTree_64", 10000)."""
    suite, name, n = text.split("/")
    return RunName(suite, name, int(n))


def join(suite, name, n):
    return "%s/%s/%d" % (suite, name, n)
