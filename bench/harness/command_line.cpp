#include "command_line.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <sstream>

long long parseNumber(std::string_view what, std::string_view text, long long least,
                      long long most) {
    const std::string range = std::to_string(least) + " to " + std::to_string(most);
    const std::string digits(text.substr(!text.empty() && text[0] == '-' ? 1 : 0));
    if (digits.empty() ||
        !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        throw FlagError(std::string(what) + " takes a whole number from " + range + ", not '" +
                        std::string(text) + "'");
    }
    errno = 0;
    const long long value = std::strtoll(std::string(text).c_str(), nullptr, 10);
    if (errno == ERANGE || value < least || value > most) {
        throw FlagError(std::string(what) + " takes a number from " + range + ", not " +
                        std::string(text));
    }
    return value;
}

std::vector<std::string> splitList(const std::string& list) {
    std::vector<std::string> items;
    if (list.empty()) {
        return items;
    }
    std::istringstream stream(list + ",");
    for (std::string item; std::getline(stream, item, ',');) {
        items.push_back(item);
    }
    return items;
}

CommandLine::CommandLine(std::string program, int& argc, char** argv, std::vector<Flag> flags,
                         std::string libraryPrefix)
    : m_program(std::move(program)), m_flags(std::move(flags)) {
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        const std::size_t equals = argument.find('=');
        const std::string name = argument.substr(0, equals);
        const std::string value = equals == std::string::npos ? "" : argument.substr(equals + 1);
        if (!libraryPrefix.empty() && argument.rfind(libraryPrefix, 0) == 0) {
            m_library.emplace_back(name, value);
            argv[kept++] = argv[i];
            continue;
        }
        const Flag* flag = known(name);
        if (flag == nullptr) {
            throw FlagError("unknown argument '" + argument + "'\n" + usage());
        }
        if (flag->takesValue != (equals != std::string::npos)) {
            throw FlagError(flag->takesValue ? name + " takes a value: " + name + "=..."
                                             : name + " takes no value");
        }
        m_given.emplace_back(name, value);
    }
    argc = kept;
    argv[kept] = nullptr;
}

const Flag* CommandLine::known(const std::string& name) const {
    for (const Flag& flag : m_flags) {
        if (flag.name == name) {
            return &flag;
        }
    }
    return nullptr;
}

bool CommandLine::has(const std::string& flag) const {
    return std::any_of(m_given.begin(), m_given.end(),
                       [&flag](const auto& given) { return given.first == flag; });
}

// The last occurrence of a flag wins, as on most command lines.
std::string CommandLine::text(const std::string& flag, const std::string& fallback) const {
    for (auto given = m_given.rbegin(); given != m_given.rend(); ++given) {
        if (given->first == flag) {
            return given->second;
        }
    }
    return fallback;
}

long long CommandLine::number(const std::string& flag, long long least, long long most,
                              long long fallback) const {
    return has(flag) ? parseNumber(flag, text(flag), least, most) : fallback;
}

std::vector<long long> CommandLine::numbers(const std::string& flag, long long least,
                                            long long most, std::vector<long long> fallback) const {
    if (!has(flag)) {
        return fallback;
    }
    std::vector<long long> values;
    for (const std::string& item : splitList(text(flag))) {
        values.push_back(parseNumber(flag, item, least, most));
    }
    if (values.empty()) {
        throw FlagError(flag + " takes a comma-separated list, not nothing");
    }
    return values;
}

std::vector<int> CommandLine::sizes(std::vector<int> fallback) const {
    const std::vector<long long> given = numbers(
        "--sizes", 1, kLargestSize, std::vector<long long>(fallback.begin(), fallback.end()));
    return std::vector<int>(given.begin(), given.end());
}

std::vector<std::string> CommandLine::names(const std::string& flag) const {
    return splitList(text(flag));
}

std::string CommandLine::libraryValue(const std::string& flag) const {
    for (auto given = m_library.rbegin(); given != m_library.rend(); ++given) {
        if (given->first == flag) {
            return given->second;
        }
    }
    return "";
}

std::string CommandLine::usage() const {
    std::string text = "usage: " + m_program;
    for (const Flag& flag : m_flags) {
        text += " [" + flag.name + (flag.takesValue ? "=..." : "") + "]";
    }
    for (const Flag& flag : m_flags) {
        text += "\n  " + flag.name + (flag.takesValue ? "=..." : "") + "  " + flag.help;
    }
    return text;
}

int runProgram(const std::string& program, const std::function<int()>& body) {
    try {
        return body();
    } catch (const FlagError& error) {
        std::cerr << program << ": " << error.what() << std::endl;
        return 2;
    }
}
