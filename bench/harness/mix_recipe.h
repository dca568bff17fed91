// A workload described as a mix: the shares of the operations and the
// distribution of the keys they seek. The core workloads (the standard mixes
// that index benchmarks share) are such mixes, and so is a mix a user writes:
//
//   find=95,insert=5,keys=latest          reads of the newest keys, 5 % new ones
//   scan=95:100,insert=5,keys=zipf:0.99   short scans of 1 to 100 entries
//
// The grammar: items separated by commas; an operation and its share
// (`find`, `miss`, `insert`, `erase`, `update`, `rmw`: a positive number, the
// shares normalised to their sum), `scan=SHARE:LONGEST` (scans of 1 to
// LONGEST entries), and at most one `keys=` of `uniform`, `zipf` or
// `zipf:EXPONENT` (0 to 5, default 0.99), `latest`, `ascending` or
// `descending`.
#pragma once

#include <array>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

enum class MixOperation : std::uint8_t { find, miss, insert, erase, update, rmw, scan };
constexpr std::size_t kMixOperations = 7;

// "find", "miss", ...: the operation's name in a RECIPE and in the results.
const char* operationName(MixOperation operation);

enum class KeyDistribution { uniform, zipf, latest, ascending, descending };

struct MixRecipe {
    // Each operation's share, by MixOperation; they sum to 1.
    std::array<double, kMixOperations> shares{};
    int longestScan = 0;  // scans of 1 .. longestScan entries
    KeyDistribution keys = KeyDistribution::uniform;
    double exponent = 0.99;  // for KeyDistribution::zipf

    double share(MixOperation operation) const {
        return shares[static_cast<std::size_t>(operation)];
    }
};

// A RECIPE that cannot be read; its text says what is wrong and where.
class MixError : public std::invalid_argument {
public:
    using std::invalid_argument::invalid_argument;
};

// Reads a RECIPE, or throws MixError naming the item at fault.
MixRecipe parseMix(const std::string& text);

// A core workload: its suite name, what it does, its mix.
struct CoreWorkload {
    const char* suite;
    const char* description;
    const char* recipe;
};

// The standard core workloads A to F; those that insert (D and E) last, so
// that on a shared fill the others see the loaded keys alone.
const std::vector<CoreWorkload>& coreWorkloads();
