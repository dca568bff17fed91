"""The report's section on the runs with transparent huge pages."""
from ..model.catalog import HUGE_PAGES_ENV
from . import tables


def huge_page_lines(normal, huge, pictures):
    """The huge-page runs beside the ordinary ones, and which map is fastest
    with huge pages."""
    try:
        with open("/sys/kernel/mm/transparent_hugepage/enabled") as setting:
            kernel = setting.read().strip()
    except OSError:
        kernel = "unknown"
    suites = [s for s in normal.catalog.suites if s in huge.suites]
    lines = ["", "## Transparent huge pages", "",
             "The same runs again with %s, for every map alike: glibc's malloc then asks the "
             "kernel for 2 MiB pages (this machine's transparent_hugepage setting: `%s`). "
             "Each ratio is time with huge pages over time without, with its interval and "
             "verdict as the targets' (better: faster with huge pages)." % (
                 " ".join("`%s=%s`" % item for item in HUGE_PAGES_ENV.items()), kernel), ""]
    lines += ["![%s](%s)" % (p[:-4], p) for p in pictures]
    lines += tables.huge_page_tables(normal, huge, suites)
    lines += ["", "### Which map where, with huge pages", ""]
    return lines + tables.where_table(huge, suites)
