#include "mix_recipe.h"

#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

const char* const kOperationNames[kMixOperations] = {"find",   "miss", "insert", "erase",
                                                     "update", "rmw",  "scan"};
constexpr int kLongestScanAllowed = 1000000;
constexpr double kLargestExponent = 5.0;

std::vector<std::string> itemsOf(const std::string& text) {
    std::vector<std::string> items;
    std::istringstream stream(text);
    for (std::string item; std::getline(stream, item, ',');) {
        items.push_back(item);
    }
    if (!text.empty() && text.back() == ',') {
        items.emplace_back();
    }
    return items;
}

// The whole of `text` as a finite number, or throws with `what`.
double numberOf(const std::string& text, const std::string& what) {
    char* end = nullptr;
    const double value = text.empty() ? NAN : std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size() || !std::isfinite(value)) {
        throw MixError(what + ": '" + text + "' is not a number");
    }
    return value;
}

class Reader {
public:
    explicit Reader(const std::string& text) : m_items(itemsOf(text)) {
        if (m_items.empty()) {
            throw MixError(
                "an empty mix: give operations with their shares, such as "
                "find=95,insert=5");
        }
    }

    MixRecipe read() {
        for (std::size_t i = 0; i < m_items.size(); ++i) {
            readItem(m_items[i], "item " + std::to_string(i + 1) + " ('" + m_items[i] + "')");
        }
        double total = 0;
        for (const double share : m_recipe.shares) {
            total += share;
        }
        if (total <= 0) {
            throw MixError("no operation: give at least one, such as find=100");
        }
        for (double& share : m_recipe.shares) {
            share /= total;
        }
        return m_recipe;
    }

private:
    void readItem(const std::string& item, const std::string& where) {
        const std::size_t equals = item.find('=');
        if (equals == std::string::npos) {
            throw MixError(where + ": an item reads NAME=VALUE");
        }
        const std::string name = item.substr(0, equals);
        const std::string value = item.substr(equals + 1);
        if (name == "keys") {
            readKeys(value, where);
            return;
        }
        for (std::size_t op = 0; op < kMixOperations; ++op) {
            if (name == kOperationNames[op]) {
                readOperation(static_cast<MixOperation>(op), value, where);
                return;
            }
        }
        throw MixError(where + ": '" + name +
                       "' is neither an operation (find, miss, insert, erase, update, rmw, "
                       "scan) nor keys");
    }

    void readOperation(MixOperation operation, std::string value, const std::string& where) {
        double& share = m_recipe.shares[static_cast<std::size_t>(operation)];
        if (share > 0) {
            throw MixError(where + ": " + kOperationNames[static_cast<std::size_t>(operation)] +
                           " is given twice");
        }
        if (operation == MixOperation::scan) {
            const std::size_t colon = value.find(':');
            if (colon == std::string::npos) {
                throw MixError(where + ": a scan reads scan=SHARE:LONGEST, such as scan=5:100");
            }
            const double longest = numberOf(value.substr(colon + 1), where + ", the longest scan");
            if (longest < 1 || longest > kLongestScanAllowed || longest != std::floor(longest)) {
                throw MixError(where + ": the longest scan is a whole number from 1 to " +
                               std::to_string(kLongestScanAllowed));
            }
            m_recipe.longestScan = static_cast<int>(longest);
            value = value.substr(0, colon);
        }
        share = numberOf(value, where + ", the share");
        if (share <= 0) {
            throw MixError(where + ": a share is a positive number");
        }
    }

    void readKeys(const std::string& value, const std::string& where) {
        if (m_keysGiven) {
            throw MixError(where + ": keys are given twice");
        }
        m_keysGiven = true;
        const std::string name = value.substr(0, value.find(':'));
        const bool parameter = value.find(':') != std::string::npos;
        if (name == "zipf") {
            m_recipe.keys = KeyDistribution::zipf;
            if (parameter) {
                m_recipe.exponent =
                    numberOf(value.substr(value.find(':') + 1), where + ", the exponent");
                if (m_recipe.exponent < 0 || m_recipe.exponent > kLargestExponent) {
                    throw MixError(where + ": the exponent lies from 0 to 5");
                }
            }
            return;
        }
        const std::pair<const char*, KeyDistribution> plain[] = {
            {"uniform", KeyDistribution::uniform},
            {"latest", KeyDistribution::latest},
            {"ascending", KeyDistribution::ascending},
            {"descending", KeyDistribution::descending}};
        for (const auto& [known, distribution] : plain) {
            if (value == known) {
                m_recipe.keys = distribution;
                return;
            }
        }
        throw MixError(where +
                       ": keys are uniform, zipf, zipf:EXPONENT, latest, ascending or "
                       "descending");
    }

    std::vector<std::string> m_items;
    MixRecipe m_recipe;
    bool m_keysGiven = false;
};

}  // namespace

const char* operationName(MixOperation operation) {
    return kOperationNames[static_cast<std::size_t>(operation)];
}

MixRecipe parseMix(const std::string& text) {
    return Reader(text).read();
}

const std::vector<CoreWorkload>& coreWorkloads() {
    static const std::vector<CoreWorkload> workloads = {
        {"core_a", "50 % reads, 50 % updates, Zipf keys (update-heavy)",
         "find=50,update=50,keys=zipf:0.99"},
        {"core_b", "95 % reads, 5 % updates, Zipf keys (read-mostly)",
         "find=95,update=5,keys=zipf:0.99"},
        {"core_c", "reads only, Zipf keys", "find=100,keys=zipf:0.99"},
        {"core_f", "50 % reads, 50 % read-modify-writes, Zipf keys",
         "find=50,rmw=50,keys=zipf:0.99"},
        {"core_d", "95 % reads of the latest keys, 5 % insertions of new ones (read-latest)",
         "find=95,insert=5,keys=latest"},
        {"core_e", "95 % short scans of 1 to 100 entries, 5 % insertions, Zipf starts",
         "scan=95:100,insert=5,keys=zipf:0.99"},
    };
    return workloads;
}
