// Runs the built mapbench executable and collects what it wrote.
#pragma once

#include <string>

struct ProgramResult {
    std::string out;
    std::string err;
    int exitStatus;
};

// Runs mapbench with the given arguments (a shell word list). `prefix` is
// put before the command, e.g. "ulimit -v 4000000;".
ProgramResult runMapbench(const std::string& arguments, const std::string& prefix = "");

// Replaces the durations on time lines and summary lines by "#", so that
// the rest of the output can be compared byte for byte.
std::string maskDurations(const std::string& output);
