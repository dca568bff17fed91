// Feeds arbitrary argument vectors (the input split at NUL bytes) to the
// option parser and, when the settings are small enough to run quickly, to
// the whole program with its output discarded. The parser is also checked
// against strtoll clamped to the int range.
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <string>
#include <vector>

#include "driver_program.h"
#include "options.h"

namespace {

int referenceValue(const char* text) {
    const long long value = std::strtoll(text, nullptr, 10);
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

void checkValue(const std::string& argument) {
    const char* text = argument.c_str();
    if (argument.size() >= 2) {
        text += 2;
    }
    if (parseOptionValue(text) != referenceValue(text)) {
        std::fprintf(stderr, "parseOptionValue(\"%s\") = %d, strtoll gives %d\n", text,
                     parseOptionValue(text), referenceValue(text));
        std::abort();
    }
}

// Settings small enough to run the whole program on every input: each run
// stays within a few milliseconds.
constexpr int kMostRecords = 200;
constexpr int kMostIterations = 2000;
constexpr int kLargestOrder = 1024;

bool quickToRun(const Settings& settings) {
    return settings.recordCount <= kMostRecords && settings.iterations <= kMostIterations &&
           settings.order <= kLargestOrder;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"mapbench"};
    arguments.emplace_back();
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.emplace_back();
        } else {
            arguments.back() += static_cast<char>(data[i]);
        }
    }
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) {
        checkValue(argument);
        argv.push_back(argument.c_str());
    }
    argv.push_back(nullptr);
    const int argc = static_cast<int>(arguments.size());

    const Settings settings = parseCommandLine(argc, argv.data());
    if (settings.order < 3 || settings.recordCount < 0) {
        std::abort();
    }
    if (quickToRun(settings)) {
        std::streambuf* terminal = std::cout.rdbuf(nullptr);
        const int status = runMapbench(argc, argv.data());
        std::cout.rdbuf(terminal);
        std::cout.clear();
        if (status != 0) {
            std::abort();
        }
    }
    return 0;
}
