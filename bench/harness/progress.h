// Tells on standard error which benchmark run starts and how many runs the
// whole suite has, so that a long run is never silent for minutes.
#pragma once

#include <algorithm>
#include <iostream>
#include <regex>
#include <string>
#include <vector>

class Progress {
public:
    // `filter` is the library's benchmark filter ("" selects every
    // benchmark); `repetitions`, how many times each benchmark starts anew:
    // its repetitions when they are interleaved, else 1.
    Progress(const std::string& filter, int repetitions, std::ostream& out = std::cerr)
        : m_out(out),
          m_filter(filter.empty() ? "." : filter),
          m_repetitions(std::max(1, repetitions)) {}

    void add(const std::string& name) { m_names.push_back(name); }
    // The runs ahead, once begin() has counted them.
    int total() const { return m_total; }

    // Counts the runs ahead: each selected benchmark once per repetition.
    void begin() {
        const bool negated = !m_filter.empty() && m_filter[0] == '-';
        const std::regex pattern(negated ? m_filter.substr(1) : m_filter);
        int selected = 0;
        for (const std::string& name : m_names) {
            selected += std::regex_search(name, pattern) != negated ? 1 : 0;
        }
        m_total = selected * m_repetitions;
    }

    // Called on every entry of a benchmark function. The library calls one
    // several times in a row while it settles the iteration count of a run,
    // so a run starts when the name changes; true when one does.
    bool starting(const std::string& name) {
        if (name == m_current) {
            return false;
        }
        m_current = name;
        m_out << "[" << ++m_started << "/" << m_total << "] " << name << std::endl;
        return true;
    }

private:
    std::ostream& m_out;
    std::string m_filter;
    int m_repetitions;
    std::vector<std::string> m_names;
    std::string m_current;
    int m_started = 0;
    int m_total = 0;
};
