// The abstract integer-keyed map that every timed implementation provides,
// and the payload records whose pointers the maps store.
#pragma once

#include <string>

// A payload record. Maps store pointers to records and hand them back; they
// never own, copy, compare or free them.
class Data {
public:
    virtual ~Data() {}
    virtual int compareTo(Data* other) const = 0;
    virtual std::string toString() const = 0;
};

// The one concrete record: a single 32-bit signed number.
class IntegerData : public Data {
public:
    IntegerData() : value(0) {}
    IntegerData(int v) : value(v) {}  // NOLINT: records are built from plain ints
    IntegerData(const IntegerData& other) = default;
    IntegerData& operator=(const IntegerData& other) = default;
    ~IntegerData() override {}

    // -1, 0 or 1 as this value is below, equal to or above other's. `other`
    // must be an IntegerData; its class is not checked.
    int compareTo(Data* other) const override;
    std::string toString() const override;

    int value;
};

// An integer-keyed dictionary of Data pointers. Each key is held at most once.
//
// Contract shared by every implementation:
//  - insert(key, data) stores the pair and returns true; for a present key it
//    returns false and keeps the pointer given first.
//  - erase(key) removes the key and returns true, or returns false if absent.
//  - find(key) returns the stored pointer, or null for an absent key.
//  - member(key) is true exactly when the key is present, whatever its payload
//    (a key stored with a null payload is present).
//  - print() writes the map's own dump to standard output without changing it.
//  - Destroying a map releases its own storage and no Data record.
//
// Failures: absent and duplicate keys are ordinary results, never failures.
// An operation may end in only two ways besides returning:
//  - it throws a `const char*` holding a constant message text when the map
//    finds one of its own invariants broken (the B-tree's consistency
//    checks). The map is then unusable. The driver catches the text, writes
//    it and a line end to standard output, times no further map and exits
//    with status 0.
//  - it lets std::bad_alloc through when memory runs out. The driver writes
//    one line to standard error and exits with status 1.
class Map {
public:
    virtual ~Map() {}
    virtual int size() const = 0;
    virtual bool insert(int key, Data* data) = 0;
    virtual bool erase(int key) = 0;
    virtual bool member(int key) const = 0;
    virtual Data* find(int key) const = 0;
    virtual void print() const = 0;
};
