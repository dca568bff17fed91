#include "timing_driver.h"

#include <time.h>

#include <cstdlib>
#include <iostream>
#include <memory>

namespace {

// Phase durations come from the monotonic clock, which, unlike the wall
// clock, is never stepped while a phase runs.
void readClock(timeval* reading) {
    timespec now;
    clock_gettime(CLOCK_MONOTONIC, &now);
    reading->tv_sec = now.tv_sec;
    reading->tv_usec = static_cast<suseconds_t>(now.tv_nsec / 1000);
}

bool runsFindPhase(int phases) {
    return phases == 0 || phases == 1;
}
bool runsMixPhase(int phases) {
    return phases == 0 || phases == 2;
}

// Seconds that `loop` takes for `iter` operations on the map: nothing but
// the loop runs between the two clock readings.
double timePhase(void (*loop)(IntegerData*, int, int, Map*), IntegerData* records, int n, int iter,
                 Map* map) {
    timeval start;
    timeval end;
    readClock(&start);
    loop(records, n, iter, map);
    readClock(&end);
    return timeval_diff(&end, &start);
}

}  // namespace

std::unique_ptr<IntegerData[]> generateRandomData(int count) {
    auto records = std::make_unique<IntegerData[]>(count > 0 ? count : 0);
    for (int i = 0; i < count; ++i) {
        records[i] = std::rand();
    }
    return records;
}

double timeval_diff(timeval* end, timeval* start) {
    if (end->tv_usec < start->tv_usec) {
        const long carry = (start->tv_usec - end->tv_usec) / 1000000 + 1;
        start->tv_usec -= 1000000 * carry;
        start->tv_sec += carry;
    }
    if (end->tv_usec - start->tv_usec > 1000000) {
        const long carry = (end->tv_usec - start->tv_usec) / 1000000;
        start->tv_usec += 1000000 * carry;
        start->tv_sec -= carry;
    }
    return static_cast<double>(end->tv_sec - start->tv_sec) +
           static_cast<double>(end->tv_usec - start->tv_usec) / 1e6;
}

void fillMap(IntegerData* records, int n, Map* map) {
    for (int i = 0; i < n; ++i) {
        map->insert(records[i].value, &records[i]);
    }
}

void emptyMap(IntegerData* records, int n, Map* map) {
    for (int i = 0; i < n; ++i) {
        map->erase(records[i].value);
    }
}

void runFinds(IntegerData* records, int n, int count, Map* map) {
    if (n <= 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int k = std::rand() % n;
        map->find(records[k].value);
    }
}

void runMix(IntegerData* records, int n, int count, Map* map) {
    if (n <= 0) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        const int k = std::rand() % n;
        const int coin = std::rand();
        if (coin % 2 == 1) {
            map->erase(records[k].value);
        } else {
            map->insert(records[k].value, &records[k]);
        }
    }
}

void timeMap(IntegerData* records, int n, int iter, Map* map, int output, int phases) {
    fillMap(records, n, map);
    if (output > 1) {
        map->print();
    }
    double findTime = 0.0;
    if (runsFindPhase(phases)) {
        findTime = timePhase(runFinds, records, n, iter, map);
        if (output > 0) {
            std::cout << "Time for iter random finds: " << findTime << " seconds" << std::endl;
        }
    }
    emptyMap(records, n, map);
    double mixTime = 0.0;
    if (runsMixPhase(phases)) {
        mixTime = timePhase(runMix, records, n, iter, map);
        if (output > 0) {
            std::cout << "Time for iter random insertions and erasures: " << mixTime << " seconds"
                      << std::endl;
        }
    }
    std::cout << findTime << ", " << mixTime << std::endl;
}
