// The bench programs' command line, one style for all: a flag with a value
// is written `--name=value`, a switch `--name`. Numbers are whole decimal
// numbers within the flag's range; anything else, and any argument the
// program does not take, ends it with a message naming the argument and
// exit status 2. A program built on a library with flags of its own (Google
// Benchmark's "--benchmark_...") leaves those arguments to the library.
#pragma once

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

// A bad argument; its text is the message for the user.
class FlagError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The whole decimal number `text` (an optional minus sign, then digits and
// nothing else), within least .. most; `what` names it in the message.
long long parseNumber(std::string_view what, std::string_view text, long long least,
                      long long most);

// "a,b,c" as {"a", "b", "c"}; "" as {}.
std::vector<std::string> splitList(const std::string& list);

// Record counts of --sizes: from 1 to this.
constexpr long long kLargestSize = 100000000;

struct Flag {
    std::string name;  // "--sizes"
    bool takesValue;
    std::string help;  // "record counts, such as 1000,10000"
};

class CommandLine {
public:
    // Reads argv[1 ..]. Arguments that start with `libraryPrefix` (when it is
    // not empty) stay in argv, and argc counts them; the rest are taken out.
    CommandLine(std::string program, int& argc, char** argv, std::vector<Flag> flags,
                std::string libraryPrefix = "");

    bool has(const std::string& flag) const;
    // The flag's value; `fallback` when it was not given.
    std::string text(const std::string& flag, const std::string& fallback = "") const;
    long long number(const std::string& flag, long long least, long long most,
                     long long fallback) const;
    // A comma-separated list of numbers, each within least .. most.
    std::vector<long long> numbers(const std::string& flag, long long least, long long most,
                                   std::vector<long long> fallback) const;
    // --sizes: record counts from 1 to kLargestSize.
    std::vector<int> sizes(std::vector<int> fallback) const;
    // A comma-separated list of names; empty when the flag was not given.
    std::vector<std::string> names(const std::string& flag) const;
    // The value of an argument left for the library ("--benchmark_filter"),
    // or "" when there is none.
    std::string libraryValue(const std::string& flag) const;

    // "usage: map_latency [--list] [--sizes=...] ..." with each flag's help.
    std::string usage() const;

private:
    const Flag* known(const std::string& name) const;

    std::string m_program;
    std::vector<Flag> m_flags;
    std::vector<std::pair<std::string, std::string>> m_given;    // flag, value
    std::vector<std::pair<std::string, std::string>> m_library;  // flag, value
};

// Runs `body`; a FlagError becomes "program: message" on standard error
// and exit status 2.
int runProgram(const std::string& program, const std::function<int()>& body);
