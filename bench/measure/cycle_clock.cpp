#include "cycle_clock.h"

#include <chrono>
#include <fstream>
#include <sstream>
#include <string>


double calibrateTicksPerNs(int milliseconds) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point begin = Clock::now();
    const std::uint64_t firstTick = cycleStart();
    Clock::time_point end = begin;
    while (end - begin < std::chrono::milliseconds(milliseconds)) {
        end = Clock::now();
    }
    const std::uint64_t lastTick = cycleStop();
    const double ns = static_cast<double>((end - begin) / std::chrono::nanoseconds(1));
    return static_cast<double>(lastTick - firstTick) / ns;
}

bool invariantTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
    std::ifstream cpuinfo("/proc/cpuinfo");
    std::string line;
    while (std::getline(cpuinfo, line)) {
        if (line.rfind("flags", 0) != 0) {
            continue;
        }
        std::istringstream words(line);
        bool constant = false;
        bool nonstop = false;
        for (std::string flag; words >> flag;) {
            constant = constant || flag == "constant_tsc";
            nonstop = nonstop || flag == "nonstop_tsc";
        }
        return constant && nonstop;
    }
#endif
    return false;
}
