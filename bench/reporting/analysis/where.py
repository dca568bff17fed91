"""Which map is fastest where: each kind at its best order, our fastest map
against the fastest ordered peer."""
from .comparison import compare


def fastest(timings, suite, n, ours):
    """The name of our fastest map by median, or of the fastest ordered peer
    (the hash map is a reference point, not a peer here), or None."""
    role = "ours" if ours else "peer"
    timed = [(timings.median(suite, name, n), name) for s, name, size in timings.samples
             if s == suite and size == n and timings.catalog.role(name) == role]
    return min(timed)[1] if timed else None


def best_variant(timings, suite, kind, n):
    """The fastest contender of one of our kinds (its best order), or None."""
    timed = [(timings.median(suite, name, n), name) for name in timings.catalog.variants(kind)
             if timings.median(suite, name, n) is not None]
    return min(timed)[1] if timed else None


def where_rows(timings, suites):
    """(suite, n, {kind: (its best median, its name)}, comparison of our
    fastest map with the fastest ordered peer or None) per suite and size."""
    rows = []
    for suite in suites:
        for n in timings.sizes_of(suite):
            kinds = {}
            for kind in timings.catalog.kinds():
                name = best_variant(timings, suite, kind, n)
                if name:
                    kinds[kind] = (timings.median(suite, name, n), name)
            ours = fastest(timings, suite, n, ours=True)
            peer = fastest(timings, suite, n, ours=False)
            c = compare(timings, suite, ours, n, peer) if ours and peer else None
            rows.append((suite, n, kinds, c))
    return rows


def largest_rows(timings, suites):
    """{suite: (n, comparison)} at the largest size where ours and a peer
    were both measured."""
    largest = {}
    for suite, n, _, c in where_rows(timings, suites):
        if c:
            largest[suite] = (n, c)
    return largest
