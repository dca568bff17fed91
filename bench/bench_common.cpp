#include "bench_common.h"

#include <cstdio>
#include <cstdlib>
#include <set>
#include <sstream>

namespace {

std::string quoted(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') {
            out += '\\';
        }
        out += c;
    }
    return out + "\"";
}

template <typename T, typename Write>
void writeArray(std::ostream& out, const std::vector<T>& items, Write write,
                const char* separator = ", ") {
    out << "[";
    for (std::size_t i = 0; i < items.size(); ++i) {
        out << (i ? separator : "");
        write(items[i]);
    }
    out << "]";
}

void writeContender(std::ostream& out, const Contender& c) {
    out << "{\"name\": " << quoted(c.name) << ", \"role\": " << quoted(roleName(c.role))
        << ", \"peer\": " << quoted(c.peer) << ", \"kind\": " << quoted(c.kind)
        << ", \"order\": " << c.order
        << ", \"quadratic_fill\": " << (c.quadraticFill ? "true" : "false")
        << ", \"scans\": " << (c.scan ? "true" : "false") << "}";
}

void writeSuite(std::ostream& out, const SuiteInfo& suite) {
    out << "{\"name\": " << quoted(suite.name) << ", \"unit\": " << quoted(suite.unit)
        << ", \"largest_array\": " << suite.largestArray
        << ", \"description\": " << quoted(suite.description)
        << ", \"scans\": " << (suite.scans ? "true" : "false") << "}";
}

// Each of our kinds once, with its peer and goals.
void writeTargets(std::ostream& out, const std::vector<Contender>& contenders) {
    struct Row {
        std::string kind, peer;
        Goal goal;
    };
    std::vector<Row> rows;
    std::set<std::string> seen;
    for (const Contender& c : contenders) {
        if (c.ours() && seen.insert(c.kind).second) {
            for (const Goal& goal : goalsOf(c.kind)) {
                rows.push_back({c.kind, c.peer, goal});
            }
        }
    }
    out << "{\"sizes\": ";
    writeArray(out, targetSizes(), [&](int n) { out << n; });
    out << ",\n  \"goals\": ";
    writeArray(
        out, rows,
        [&](const Row& row) {
            out << "{\"kind\": " << quoted(row.kind) << ", \"peer\": " << quoted(row.peer)
                << ", \"measure\": " << quoted(row.goal.measure)
                << ", \"ratio\": " << row.goal.ratio;
            if (!row.goal.sizes.empty()) {
                out << ", \"sizes\": ";
                writeArray(out, row.goal.sizes, [&](int n) { out << n; });
            }
            out << "}";
        },
        ",\n    ");
    out << "}";
}

}  // namespace

const std::vector<int>& targetSizes() {
    static const std::vector<int> sizes = {10000, 100000};
    return sizes;
}

void writeList(std::ostream& out, const BenchList& list) {
    out << "{\"program\": " << quoted(list.program) << ",\n \"seed\": " << kProgramSeed
        << ", \"program_order\": " << kProgramOrder << ", \"batch\": " << kBatch
        << ", \"largest_random_array_fill\": " << kLargestRandomArrayFill << ",\n \"sizes\": ";
    writeArray(out, list.defaultSizes, [&](int n) { out << n; });
    out << ",\n \"context\": {";
    for (std::size_t i = 0; i < list.context.size(); ++i) {
        out << (i ? ", " : "") << quoted(list.context[i].first) << ": "
            << quoted(list.context[i].second);
    }
    out << "},\n \"contenders\": ";
    writeArray(
        out, *list.contenders, [&](const Contender& c) { writeContender(out, c); }, ",\n  ");
    out << ",\n \"suites\": ";
    writeArray(
        out, list.suites, [&](const SuiteInfo& s) { writeSuite(out, s); }, ",\n  ");
    if (list.withTargets) {
        out << ",\n \"targets\": ";
        writeTargets(out, *list.contenders);
    }
    out << "}\n";
}

bool runsAt(const SuiteInfo& suite, const Contender& contender, std::size_t n) {
    return !(contender.quadraticFill && n > suite.largestArray) &&
           !(suite.scans && !contender.scan);
}

bool takeOption(int& argc, char** argv, const std::string& prefix, std::string& value) {
    bool found = false;
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, prefix.size(), prefix) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        value = argument.substr(prefix.size());
        found = true;
    }
    argc = kept;
    argv[kept] = nullptr;
    return found;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    std::istringstream stream(list);
    for (std::string item; std::getline(stream, item, ',');) {
        items.push_back(item);
    }
    return items;
}

std::vector<int> takeSizes(int& argc, char** argv, std::vector<int> fallback) {
    std::string list;
    if (!takeOption(argc, argv, "--sizes=", list)) {
        return fallback;
    }
    std::vector<int> sizes;
    for (const std::string& size : splitList(list)) {
        char* end = nullptr;
        const long value = std::strtol(size.c_str(), &end, 10);
        if (size.empty() || *end != '\0' || value < 1 || value > 100000000) {
            std::fprintf(stderr, "bad record count in --sizes=%s: '%s'\n", list.c_str(),
                         size.c_str());
            std::exit(2);
        }
        sizes.push_back(static_cast<int>(value));
    }
    return sizes;
}

bool takeListFlag(int& argc, char** argv) {
    std::string rest;
    return takeOption(argc, argv, "--list", rest);
}
