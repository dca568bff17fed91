#include "trace.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <sstream>

namespace {

// A decimal integer within least .. most, the whole word.
long long wholeNumber(const std::string& word, long long least, long long most,
                      const std::string& what) {
    char* end = nullptr;
    errno = 0;
    const long long value = word.empty() ? 0 : std::strtoll(word.c_str(), &end, 10);
    if (word.empty() || end != word.c_str() + word.size() || errno == ERANGE || value < least ||
        value > most) {
        throw std::invalid_argument(what + " '" + word + "' is not a whole number from " +
                                    std::to_string(least) + " to " + std::to_string(most));
    }
    return value;
}

class Reader {
public:
    explicit Reader(std::size_t most) : m_most(most) {}

    Trace read(std::istream& in) {
        std::string line;
        while (std::getline(in, line)) {
            ++m_line;
            try {
                readLine(line.substr(0, line.find('#')));
            } catch (const std::invalid_argument& error) {
                throw TraceError("line " + std::to_string(m_line) + ": " + error.what());
            }
        }
        if (m_section == Section::load) {
            throw TraceError("line " + std::to_string(m_line) +
                             ": the load section has no `run` line after it");
        }
        return std::move(m_trace);
    }

private:
    enum class Section { start, load, run };

    void readLine(const std::string& text) {
        std::istringstream words(text);
        std::vector<std::string> fields;
        for (std::string word; words >> word;) {
            fields.push_back(word);
        }
        if (fields.empty()) {
            return;
        }
        if (fields.size() == 1 && (fields[0] == "load" || fields[0] == "run")) {
            switchTo(fields[0] == "load" ? Section::load : Section::run, fields[0]);
            return;
        }
        const TraceStep step = stepOf(fields);
        if (m_trace.load.size() + m_trace.steps.size() >= m_most) {
            throw std::invalid_argument("the trace has more than " + std::to_string(m_most) +
                                        " operations");
        }
        if (m_section == Section::load) {
            if (step.operation != TraceOperation::insert) {
                throw std::invalid_argument("the load section holds insertions only (i KEY)");
            }
            m_trace.load.push_back(step.key);
            return;
        }
        m_section = Section::run;
        m_trace.scans = m_trace.scans || step.operation == TraceOperation::scan;
        m_trace.steps.push_back(step);
    }

    void switchTo(Section next, const std::string& word) {
        const bool allowed = next == Section::load ? m_section == Section::start
                                                   : m_section == Section::load;
        if (!allowed) {
            throw std::invalid_argument("`" + word + "` " +
                                        (next == Section::load
                                             ? "opens the load section, which comes first"
                                             : "closes a load section, and none is open"));
        }
        m_section = next;
    }

    static TraceStep stepOf(const std::vector<std::string>& fields) {
        static const std::pair<const char*, TraceOperation> kOperations[] = {
            {"i", TraceOperation::insert}, {"f", TraceOperation::find},
            {"e", TraceOperation::erase},  {"u", TraceOperation::update},
            {"s", TraceOperation::scan}};
        for (const auto& [name, operation] : kOperations) {
            if (fields[0] != name) {
                continue;
            }
            const std::size_t expected = operation == TraceOperation::scan ? 3 : 2;
            if (fields.size() != expected) {
                throw std::invalid_argument(
                    "'" + fields[0] + "' takes " +
                    (operation == TraceOperation::scan ? "a key and a count" : "one key"));
            }
            const auto key = static_cast<int>(wholeNumber(fields[1], INT_MIN, INT_MAX, "the key"));
            const int count = operation == TraceOperation::scan
                                  ? static_cast<int>(wholeNumber(fields[2], 1, kLongestTraceScan,
                                                                 "the count"))
                                  : 0;
            return {operation, key, count};
        }
        throw std::invalid_argument("'" + fields[0] +
                                    "' is no operation (i, f, e, u, s), nor load or run");
    }

    std::size_t m_most;
    Trace m_trace;
    Section m_section = Section::start;
    long long m_line = 0;
};

}  // namespace

Trace readTrace(std::istream& in, std::size_t most) {
    return Reader(most).read(in);
}
