#include "map_interface.h"

#include <sstream>

int IntegerData::compareTo(Data* other) const {
    const int theirs = static_cast<IntegerData*>(other)->value;
    if (value < theirs) {
        return -1;
    }
    return value > theirs ? 1 : 0;
}

std::string IntegerData::toString() const {
    std::ostringstream text;
    text << value;
    return text.str();
}
