// The timed workload: random records, the four loops over them (fill, find,
// empty, mix), the clock around the timed ones, and the lines that report
// their durations. The program around it lives in driver_program.
#pragma once

#include <sys/time.h>

#include <memory>

#include "map_interface.h"

// An array of `count` records whose values are successive rand() results
// (none when count <= 0).
std::unique_ptr<IntegerData[]> generateRandomData(int count);

// Seconds from start to end. Normalises start's microseconds in place; the
// result is the same with or without that normalisation.
double timeval_diff(timeval* end, timeval* start);

// The workload's four loops over the n records. timeMap times the find and
// mix loops; the benchmarks call the same functions batch by batch, so both
// make the same map calls with the same draws in the same order.
//
// Inserts every record in order: its value is the key, its address the payload.
void fillMap(IntegerData* records, int n, Map* map);
// Erases every record's value in order.
void emptyMap(IntegerData* records, int n, Map* map);
// `count` times: k = rand() % n, then find record k's value. With no records
// it draws nothing and calls nothing.
void runFinds(IntegerData* records, int n, int count, Map* map);
// `count` times: k = rand() % n, then a coin c = rand(); erase record k's
// value when c is odd, otherwise insert record k. With no records it draws
// nothing and calls nothing.
void runMix(IntegerData* records, int n, int count, Map* map);

// Fills the map from the records, dumps it when output > 1, times `iter`
// random finds (phases 0 or 1), erases every record, times `iter` random
// insertions and erasures (phases 0 or 2) and writes the times.
void timeMap(IntegerData* records, int n, int iter, Map* map, int output, int phases);
