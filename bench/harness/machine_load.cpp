#include "machine_load.h"

#include <sys/resource.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

namespace {

// The "cpu" line of /proc/stat: user nice system idle iowait irq softirq
// steal ...; and the "intr" line's total.
void readStat(MachineSample& sample) {
    std::ifstream stat("/proc/stat");
    for (std::string line; std::getline(stat, line);) {
        std::istringstream fields(line);
        std::string name;
        fields >> name;
        if (name == "cpu") {
            std::uint64_t value[8] = {};
            for (std::uint64_t& v : value) {
                fields >> v;
            }
            sample.busyTicks = value[0] + value[1] + value[2] + value[5] + value[6];
            sample.stealTicks = value[7];
        } else if (name == "intr") {
            fields >> sample.interrupts;
        }
    }
}

// utime and stime, the 14th and 15th fields of /proc/self/stat; the command
// name before them is in parentheses and may hold spaces.
std::uint64_t processTicks() {
    std::ifstream stat("/proc/self/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos) {
        return 0;
    }
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    std::uint64_t user = 0, system = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i) {
        if (i == 14) {
            user = std::stoull(field);
        } else if (i == 15) {
            system = std::stoull(field);
        }
    }
    return user + system;
}

}  // namespace

MachineSample MachineSample::now() {
    MachineSample sample;
    sample.at = std::chrono::steady_clock::now();
    readStat(sample);
    sample.ownTicks = processTicks();
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    sample.involuntarySwitches = static_cast<std::uint64_t>(usage.ru_nivcsw);
    sample.pageFaults = static_cast<std::uint64_t>(usage.ru_minflt);
    std::ifstream("/proc/loadavg") >> sample.load;
    return sample;
}

Interference Interference::between(const MachineSample& before, const MachineSample& after) {
    Interference seen;
    seen.seconds = std::chrono::duration<double>(after.at - before.at).count();
    const double ticksPerSecond = static_cast<double>(sysconf(_SC_CLK_TCK));
    if (seen.seconds > 0 && ticksPerSecond > 0) {
        const double span = seen.seconds * ticksPerSecond;
        seen.steal = static_cast<double>(after.stealTicks - before.stealTicks) / span;
        const double busy = static_cast<double>(after.busyTicks - before.busyTicks);
        const double own = static_cast<double>(after.ownTicks - before.ownTicks);
        seen.others = busy > own ? (busy - own) / span : 0.0;
    }
    seen.interrupts = after.interrupts - before.interrupts;
    seen.involuntarySwitches = after.involuntarySwitches - before.involuntarySwitches;
    seen.pageFaults = after.pageFaults - before.pageFaults;
    seen.load = after.load;
    return seen;
}
