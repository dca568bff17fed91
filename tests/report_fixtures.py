"""The entries of a bench program's list, as the report's tests write their
catalogs: a contender and a goal."""


def contender(name, role, peer="", kind="", order=0, scans=True):
    return {"name": name, "role": role, "peer": peer, "kind": kind, "order": order,
            "quadratic_fill": False, "scans": scans}


def goal(kind, suite, limit, statistic="time", sizes=None, q=None):
    """A goal as the programs list it, against peer_tree."""
    entry = {"kind": kind, "peer": "peer_tree", "suite": suite, "statistic": statistic,
             "limit": limit}
    entry.update({"sizes": sizes} if sizes else {})
    entry.update({"q": q} if q else {})
    return entry
