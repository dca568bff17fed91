"""What a run records of the machine and the build it measured: once for the
whole run (processor, caches, kernel, huge-page mode, compiler and flags,
commit), and around every repetition (load, time the host stole,
interrupts), from /proc and /sys."""
import datetime
import os
import platform
import re
import subprocess


def _read(path, default=""):
    try:
        with open(path) as source:
            return source.read().strip()
    except OSError:
        return default


def _cpuinfo(field):
    for line in _read("/proc/cpuinfo").split("\n"):
        if line.startswith(field):
            return line.split(":", 1)[1].strip()
    return ""


# getconf's names of the cache sizes the C library reads from the processor.
GETCONF_CACHES = (("LEVEL1_DCACHE_SIZE", 1, "Data"), ("LEVEL1_ICACHE_SIZE", 1, "Instruction"),
                  ("LEVEL2_CACHE_SIZE", 2, "Unified"), ("LEVEL3_CACHE_SIZE", 3, "Unified"),
                  ("LEVEL4_CACHE_SIZE", 4, "Unified"))


def caches_from_getconf(text):
    """The caches in `getconf -a`'s output, for a machine whose /sys does not
    list them (some virtual machines): the processor's own statement, which
    may count a last-level cache shared beyond this machine's CPUs."""
    sizes = dict(line.split(None, 1) for line in text.split("\n") if len(line.split()) == 2)
    return [{"level": level, "type": kind, "kib": int(sizes[name]) // 1024, "shared_cpus": ""}
            for name, level, kind in GETCONF_CACHES
            if sizes.get(name, "").isdigit() and int(sizes[name]) >= 1024]


def caches():
    """The caches of the first processor: [{level, type, kib, shared_cpus}],
    from /sys, or from getconf where /sys has none."""
    found = []
    base = "/sys/devices/system/cpu/cpu0/cache"
    for index in sorted(os.listdir(base)) if os.path.isdir(base) else []:
        folder = os.path.join(base, index)
        size = _read(os.path.join(folder, "size"))
        if not index.startswith("index") or not size.endswith("K"):
            continue
        shared = _read(os.path.join(folder, "shared_cpu_list"))
        found.append({"level": int(_read(os.path.join(folder, "level"), "0")),
                      "type": _read(os.path.join(folder, "type")), "kib": int(size[:-1]),
                      "shared_cpus": shared})
    if not found:
        try:
            found = caches_from_getconf(subprocess.run(["getconf", "-a"], capture_output=True,
                                                       text=True, check=False).stdout)
        except OSError:
            pass
    return found


def last_level_cache_bytes():
    """The largest data or unified cache's bytes, or None where the machine
    lists none."""
    sizes = [c["kib"] * 1024 for c in caches() if c["type"] != "Instruction"]
    return max(sizes) if sizes else None


def huge_page_mode():
    """"madvise" of "always [madvise] never", or "unknown"."""
    match = re.search(r"\[(\w+)\]", _read("/sys/kernel/mm/transparent_hugepage/enabled"))
    return match.group(1) if match else "unknown"


def _cache_variable(build, name):
    for line in _read(os.path.join(build, "CMakeCache.txt")).split("\n"):
        if line.startswith(name + ":"):
            return line.split("=", 1)[1]
    return ""


def compiler(build):
    """The build's compiler, its version and its flags, from its CMake cache."""
    path = _cache_variable(build, "CMAKE_CXX_COMPILER")
    version = ""
    if path:
        try:
            version = subprocess.run([path, "--version"], capture_output=True, text=True,
                                     check=True).stdout.split("\n")[0]
        except (OSError, subprocess.CalledProcessError):
            pass
    kind = _cache_variable(build, "CMAKE_BUILD_TYPE")
    flags = " ".join(f for f in (_cache_variable(build, "CMAKE_CXX_FLAGS"),
                                 _cache_variable(build, "CMAKE_CXX_FLAGS_" + kind.upper()))
                     if f)
    return {"path": path, "version": version, "build_type": kind, "flags": flags}


def commit(root, out=None):
    """The commit measured and whether the tree had changes beside it; the
    results a run replaces in `out` do not count."""
    def git(*arguments):
        return subprocess.run(["git", "-C", root] + list(arguments), capture_output=True,
                              text=True).stdout.strip()
    inside = out and not os.path.relpath(out, root).startswith("..")
    outside = ["--", ".", ":!" + os.path.relpath(out, root)] if inside else []
    return {"commit": git("rev-parse", "HEAD"),
            "dirty": bool(git("status", "--porcelain", "--untracked-files=no", *outside))}


def machine(build, root, out=None):
    """The record of the whole run, whose results go to `out`."""
    return dict({"cpu": _cpuinfo("model name") or platform.processor(),
                 "cpus": os.cpu_count(), "mhz": float(_cpuinfo("cpu MHz") or 0),
                 "caches": caches(), "kernel": platform.release(),
                 "system": "%s %s" % (platform.system(), platform.machine()),
                 "transparent_huge_pages": huge_page_mode(), "compiler": compiler(build),
                 "date": datetime.datetime.now().isoformat(timespec="minutes")},
                **commit(root, out))
