// The timed workload: random records, the fill/find/empty/mix phases run on
// each selected map, and the console report of their durations.
#pragma once

#include <sys/time.h>

#include "map_interface.h"
#include "options.h"

// An array of `count` records whose values are successive rand() results.
// The caller deletes it with delete[].
IntegerData* generateRandomData(int count);

// Seconds from start to end. Normalises start's microseconds in place; the
// result is the same with or without that normalisation.
double timeval_diff(timeval* end, timeval* start);

// Fills the map from the records, dumps it when output > 1, times `iter`
// random finds (phases 0 or 1), erases every record, times `iter` random
// insertions and erasures (phases 0 or 2) and writes the times. With no
// records a phase makes no draws and no map calls.
void timeMap(IntegerData* records, int n, int iter, Map* map, int output, int phases);

// The three maps the driver times, in the order they are timed.
struct MapSet {
    Map* vectorMap;
    Map* btreeMap;
    Map* avlMap;
};

// Times the maps chosen by the map selector, each after its banner. A
// message text thrown by a map is written to standard output and ends the
// timing: the maps after it are skipped.
void timeSelectedMaps(const Settings& settings, IntegerData* records, const MapSet& maps);

// The whole program: parse, seed, build records and maps, time, tear down.
// Returns 0, or 1 after writing to standard error when memory runs out.
int runMapbench(int argc, const char* const* argv);
