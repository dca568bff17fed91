// A Map that records every call made on it, for checking what the driver
// does; it can be told to throw a message text on its n-th insertion, as a
// map throws one for a broken invariant.
#pragma once

#include <set>
#include <string>
#include <vector>

#include "map_interface.h"

class RecordingMap : public Map {
public:
    int size() const override { return static_cast<int>(keys.size()); }
    bool insert(int key, Data*) override {
        log.push_back("insert " + std::to_string(key));
        if (++inserts == throwOnInsert) {
            throw "planned failure of a recording map";
        }
        return keys.insert(key).second;
    }
    bool erase(int key) override {
        log.push_back("erase " + std::to_string(key));
        return keys.erase(key) == 1;
    }
    bool member(int key) const override { return keys.count(key) == 1; }
    Data* find(int key) const override {
        log.push_back("find " + std::to_string(key));
        return nullptr;
    }
    void print() const override { log.push_back("print"); }

    mutable std::vector<std::string> log;
    int throwOnInsert = 0;  // 0: never

private:
    std::set<int> keys;
    int inserts = 0;
};
