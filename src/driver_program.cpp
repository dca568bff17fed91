#include "driver_program.h"

#include <cstdlib>
#include <iostream>
#include <new>
#include <optional>

#include "map_kinds.h"
#include "timing_driver.h"

namespace {

// The built-in kinds (the first of the list of kinds, in timing order) the
// program creates, in creation (and destruction) order: the B-tree, the AVL
// tree, the vector map.
constexpr std::size_t kCreationOrder[] = {1, 2, 0};

// The built-in kinds each value of the map selector (-d) times, in order.
const std::vector<std::vector<std::size_t>> kSelections = {{0, 1, 2}, {0}, {1}, {2}, {1, 2}};

const MapKind& builtInKind(std::size_t index) {
    return mapKinds().at(index);
}

std::string bannerOf(const std::string& kindName) {
    const MapKind& kind = *findMapKind(kindName);
    return "**** Timing " + (kind.bannerName.empty() ? kind.name : kind.bannerName) +
           " implementation...";
}

void timeWithBanner(const std::string& kind, const Settings& settings, IntegerData* records,
                    Map* map) {
    if (settings.outputLevel > 0) {
        std::cout << bannerOf(kind) << std::endl;
    }
    timeMap(records, settings.recordCount, settings.iterations, map, settings.outputLevel,
            settings.phaseSelector);
}

int reportOutOfMemory(const std::string& what) {
    std::cout.flush();
    std::cerr << "mapbench: out of memory: " << what << std::endl;
    return 1;
}

}  // namespace

std::vector<std::string> selectedKinds(int mapSelector) {
    std::vector<std::string> names;
    if (mapSelector >= 0 && static_cast<std::size_t>(mapSelector) < kSelections.size()) {
        for (const std::size_t index : kSelections[static_cast<std::size_t>(mapSelector)]) {
            names.push_back(builtInKind(index).name);
        }
    }
    return names;
}

DriverMaps::DriverMaps(int order) {
    for (const std::size_t index : kCreationOrder) {
        const MapKind& kind = builtInKind(index);
        std::unique_ptr<Map> map = kind.make(order);
        if (kind.setDiagnostics) {
            kind.setDiagnostics(*map, std::cout);
        }
        m_maps.emplace_back(kind.name, std::move(map));
    }
}

DriverMaps::~DriverMaps() {
    for (auto& entry : m_maps) {
        entry.second.reset();
    }
}

MapsByKind DriverMaps::byKind() const {
    MapsByKind maps;
    for (const auto& [name, map] : m_maps) {
        maps[name] = map.get();
    }
    return maps;
}

void timeSelectedMaps(const Settings& settings, IntegerData* records, const MapsByKind& maps) {
    try {
        for (const std::string& kind : selectedKinds(settings.mapSelector)) {
            timeWithBanner(kind, settings, records, maps.at(kind));
        }
    } catch (const char* message) {
        std::cout << message << std::endl;
    }
}

int runMapbench(int argc, const char* const* argv) {
    const Settings settings = parseCommandLine(argc, argv);
    std::srand(static_cast<unsigned>(settings.seed));

    std::unique_ptr<IntegerData[]> records;
    try {
        records = generateRandomData(settings.recordCount);
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("cannot allocate " + std::to_string(settings.recordCount) +
                                 " records");
    }

    std::optional<DriverMaps> maps;
    try {
        maps.emplace(settings.order);
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("cannot create the maps (B-tree of order " +
                                 std::to_string(settings.order) + ")");
    }

    try {
        timeSelectedMaps(settings, records.get(), maps->byKind());
    } catch (const std::bad_alloc&) {
        return reportOutOfMemory("the maps outgrew the available memory while being timed");
    }
    return 0;
}
