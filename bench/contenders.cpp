#include "contenders.h"

#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "map_kinds.h"
#include "peer_maps.h"

namespace {

std::string peerOf(const MapKind& kind, bool haveAbsl) {
    if (kind.quadraticFill) {
        return "sorted_vector";
    }
    if (kind.takesOrder && haveAbsl) {
        return "absl_btree_map";
    }
    return "std_map";
}

std::vector<Contender> build() {
    const bool haveAbsl = makeAbslBtreePeer() != nullptr;
    std::vector<Contender> all;
    for (const MapVariant& variant : mapVariants(benchOrders())) {
        all.push_back({variant.label(), [variant] { return variant.make(); }, true,
                       variant.kind->quadraticFill, peerOf(*variant.kind, haveAbsl)});
    }
    all.push_back({"sorted_vector", makeSortedVectorPeer, false, true, ""});
    all.push_back({"std_map", makeStdMapPeer, false, false, ""});
    if (haveAbsl) {
        all.push_back({"absl_btree_map", makeAbslBtreePeer, false, false, ""});
    }
    all.push_back({"std_unordered_map", makeUnorderedMapPeer, false, false, ""});
    all.push_back({"floor", makeFloorPeer, false, false, ""});
    return all;
}

}  // namespace

const std::vector<int>& benchOrders() {
    static const std::vector<int> orders = {3, 4, 8, 16, 32, 64, 128, 256};
    return orders;
}

const std::vector<Contender>& contenders() {
    static const std::vector<Contender> all = build();
    return all;
}

const Contender* findContender(const std::string& name) {
    for (const Contender& contender : contenders()) {
        if (contender.name == name) {
            return &contender;
        }
    }
    return nullptr;
}

std::string peerTable() {
    std::string table;
    for (const Contender& contender : contenders()) {
        if (contender.ours) {
            table += (table.empty() ? "" : ",") + contender.name + "=" + contender.peer;
        }
    }
    return table;
}

std::vector<int> takeSizes(int& argc, char** argv, std::vector<int> fallback) {
    const std::string prefix = "--sizes=";
    int kept = 1;
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        if (argument.compare(0, prefix.size(), prefix) != 0) {
            argv[kept++] = argv[i];
            continue;
        }
        fallback.clear();
        std::istringstream list(argument.substr(prefix.size()));
        for (std::string size; std::getline(list, size, ',');) {
            char* end = nullptr;
            const long value = std::strtol(size.c_str(), &end, 10);
            if (size.empty() || *end != '\0' || value < 1 || value > 100000000) {
                std::fprintf(stderr, "bad record count in %s: '%s'\n", argv[i], size.c_str());
                std::exit(2);
            }
            fallback.push_back(static_cast<int>(value));
        }
    }
    argc = kept;
    argv[kept] = nullptr;
    return fallback;
}
