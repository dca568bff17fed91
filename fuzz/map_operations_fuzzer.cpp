// Runs one decoded sequence of map operations on every map beside std::map
// and aborts at the first result that differs or the first broken invariant.
//
// Input: two bytes choose the B-tree order (3 to 302); then each operation is
// one opcode byte (bits 0-2: insert, erase, find, member, size, scan; bits
// 3-4: key from a tiny range, the full 32-bit range, or the extremes), the
// key bytes, and for an insertion one byte choosing the payload (0: null),
// for a scan one byte choosing how many entries it takes (255: all). A scan
// is checked entry by entry against std::map's lower_bound walk.
//
// Setting MAPBENCH_FUZZ_BREAK to a map kind's name ("VectorMap", "BTree",
// "AVLBinaryTree") makes that map drop every third erasure, and to the name
// followed by ":scan" makes its scans skip their second entry, to show that
// faults are caught.
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "map_kinds.h"
#include "map_scan.h"

namespace {

class ByteReader {
public:
    ByteReader(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool empty() const { return m_position >= m_size; }
    std::uint8_t byte() { return empty() ? 0 : m_data[m_position++]; }
    std::int32_t word() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            value = value << 8 | byte();
        }
        std::int32_t key;
        std::memcpy(&key, &value, sizeof key);
        return key;
    }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_position = 0;
};

// Forwards to a map but keeps every third erased key: a deliberate fault.
class DropsEveryThirdErase : public Map {
public:
    explicit DropsEveryThirdErase(std::unique_ptr<Map> map) : m_map(std::move(map)) {}
    int size() const override { return m_map->size(); }
    bool insert(int key, Data* data) override { return m_map->insert(key, data); }
    bool erase(int key) override {
        return ++m_erases % 3 == 0 ? m_map->member(key) : m_map->erase(key);
    }
    bool member(int key) const override { return m_map->member(key); }
    Data* find(int key) const override { return m_map->find(key); }
    void print() const override { m_map->print(); }

private:
    std::unique_ptr<Map> m_map;
    long m_erases = 0;
};

// A scan of one subject: from, count, visitor; the number visited.
using SubjectScan = std::function<int(int, int, const ScanVisitor&)>;

// A scan that hides its second entry from the visitor: a deliberate fault.
SubjectScan skippingSecondEntry(SubjectScan scan) {
    return [scan](int from, int count, const ScanVisitor& visit) {
        int seen = 0;
        return scan(from, count, [&](int key, Data* data) {
            if (++seen != 2) {
                visit(key, data);
            }
        });
    };
}

struct Subject {
    std::string name;
    std::unique_ptr<Map> map;
    std::function<std::string()> check;
    SubjectScan scan;  // empty for a kind without one
};

const char* const kOperationNames[] = {"insert", "erase", "find", "member", "size", "scan"};

[[noreturn]] void report(int step, int operation, int key, const std::string& problem) {
    std::fprintf(stderr, "step %d: %s(%d): %s\n", step, kOperationNames[operation], key,
                 problem.c_str());
    std::abort();
}

// Tiny keys come from kTinyKeys values starting at kSmallestTinyKey, so
// that insertions and erasures keep hitting the same few keys.
constexpr int kTinyKeys = 12;
constexpr int kSmallestTinyKey = -4;
// The B-tree orders the input can choose: kSmallestOrder and the next
// kOrderChoices - 1.
constexpr int kSmallestOrder = 3;
constexpr int kOrderChoices = 300;
// The opcode byte: the operation in its low bits, the key's mode above them.
constexpr int kOperations = 6;  // insert, erase, find, member, size, scan
constexpr int kScan = 5;
// The count byte of a scan: this value takes every entry, any other is the
// count itself.
constexpr int kScanEverything = 255;
constexpr int kOperationBits = 0x7;
constexpr int kKeyModeShift = 3;
constexpr int kKeyModeBits = 0x3;
// Every map's invariants are checked after this many operations, and at
// the end.
constexpr int kStepsBetweenChecks = 64;

int readKey(ByteReader& input, int mode) {
    static const int extremes[] = {INT_MIN, INT_MIN + 1, -2, -1, 0, 1, INT_MAX - 1, INT_MAX};
    constexpr int kExtremes = sizeof extremes / sizeof extremes[0];
    switch (mode) {
        case 0:
        case 1:
            return static_cast<int>(input.byte() % kTinyKeys) + kSmallestTinyKey;
        case 2:
            return input.word();
        default:
            return extremes[input.byte() % kExtremes];
    }
}

// Every registered map kind, built at `order` where it takes one.
std::vector<Subject> makeSubjects(int order) {
    const char* setting = std::getenv("MAPBENCH_FUZZ_BREAK");
    const std::string broken = setting != nullptr ? setting : "";
    std::vector<Subject> subjects;
    for (const MapKind& kind : mapKinds()) {
        std::unique_ptr<Map> map = kind.make(order);
        const Map* view = map.get();
        if (kind.name == broken) {
            map = std::make_unique<DropsEveryThirdErase>(std::move(map));
        }
        SubjectScan scan;
        if (kind.scan) {
            scan = [&kind, view](int from, int count, const ScanVisitor& visit) {
                return kind.scan.visit(*view, from, count, visit);
            };
            if (kind.name + ":scan" == broken) {
                scan = skippingSecondEntry(std::move(scan));
            }
        }
        subjects.push_back({kind.name, std::move(map), [&kind, view] { return kind.check(*view); },
                            std::move(scan)});
    }
    return subjects;
}

std::string describe(const void* pointer) {
    char text[2 + 2 * sizeof pointer + 1];  // "0x", two digits a byte, the end
    std::snprintf(text, sizeof text, "%p", pointer);
    return text;
}

// The entries a scan from `from` of `count` passes, as "key:payload,"
// text, and the number it returned.
std::string scanned(const SubjectScan& scan, int from, int count) {
    std::string text;
    const int visited = scan(from, count, [&text](int key, Data* data) {
        text += std::to_string(key) + ":" + describe(data) + ",";
    });
    return text + " " + std::to_string(visited);
}

std::string referenceScan(const std::map<int, Data*>& reference, int from, int count) {
    std::string text;
    int visited = 0;
    for (auto at = reference.lower_bound(from); at != reference.end() && visited < count;
         ++at, ++visited) {
        text += std::to_string(at->first) + ":" + describe(at->second) + ",";
    }
    return text + " " + std::to_string(visited);
}

// Applies one operation to every subject and to the reference (a scan takes
// at most `count` entries); returns the first disagreement, or "".
std::string apply(std::vector<Subject>& subjects, std::map<int, Data*>& reference, int operation,
                  int key, Data* payload, int count) {
    for (Subject& subject : subjects) {
        Map& map = *subject.map;
        std::string got;
        std::string expected;
        switch (operation) {
            case 0:
                got = std::to_string(map.insert(key, payload));
                expected = std::to_string(reference.count(key) == 0);
                break;
            case 1:
                got = std::to_string(map.erase(key));
                expected = std::to_string(reference.count(key) == 1);
                break;
            case 2: {
                auto found = reference.find(key);
                got = describe(map.find(key));
                expected = describe(found == reference.end() ? nullptr : found->second);
                break;
            }
            case 3:
                got = std::to_string(map.member(key));
                expected = std::to_string(reference.count(key) == 1);
                break;
            case kScan:
                if (subject.scan) {
                    got = scanned(subject.scan, key, count);
                    expected = referenceScan(reference, key, count);
                }
                break;
            default:
                got = std::to_string(map.size());
                expected = std::to_string(reference.size());
        }
        if (got != expected) {
            return subject.name + " gave " + got + ", std::map " + expected;
        }
    }
    if (operation == 0) {
        reference.emplace(key, payload);
    } else if (operation == 1) {
        reference.erase(key);
    }
    return "";
}

std::string checkAll(const std::vector<Subject>& subjects) {
    for (const Subject& subject : subjects) {
        const std::string problem = subject.check();
        if (!problem.empty()) {
            return subject.name + " invariant: " + problem;
        }
    }
    return "";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ByteReader input(data, size);
    const int order = kSmallestOrder + (input.byte() | input.byte() << 8) % kOrderChoices;
    std::vector<Subject> subjects = makeSubjects(order);
    std::map<int, Data*> reference;
    constexpr int kPayloads = 8;
    IntegerData payloads[kPayloads];
    for (int step = 0; !input.empty(); ++step) {
        const std::uint8_t opcode = input.byte();
        const int operation = (opcode & kOperationBits) % kOperations;
        const int key = readKey(input, opcode >> kKeyModeShift & kKeyModeBits);
        Data* payload = nullptr;
        int count = 0;
        if (operation == 0) {
            const std::uint8_t choice = input.byte();
            payload = choice == 0 ? nullptr : &payloads[choice % kPayloads];
        } else if (operation == kScan) {
            const std::uint8_t choice = input.byte();
            count = choice == kScanEverything ? kScanAll : choice;
        }
        std::string problem = apply(subjects, reference, operation, key, payload, count);
        if (problem.empty() && step % kStepsBetweenChecks == kStepsBetweenChecks - 1) {
            problem = checkAll(subjects);
        }
        if (!problem.empty()) {
            report(step, operation, key, problem);
        }
    }
    const std::string problem = checkAll(subjects);
    if (!problem.empty()) {
        report(-1, 4, 0, problem);
    }
    return 0;
}
