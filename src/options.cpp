#include "options.h"

#include <cctype>
#include <climits>

int parseOptionValue(const char* text) {
    while (std::isspace(static_cast<unsigned char>(*text))) {
        ++text;
    }
    const bool negative = *text == '-';
    if (*text == '-' || *text == '+') {
        ++text;
    }
    // Accumulated as a non-positive magnitude so that INT_MIN fits exactly.
    long long value = 0;
    for (; std::isdigit(static_cast<unsigned char>(*text)); ++text) {
        if (value > LLONG_MIN / 100) {
            value = value * 10 - (*text - '0');
        }
    }
    if (!negative) {
        value = -value;
    }
    if (value > INT_MAX) {
        return INT_MAX;
    }
    return value < INT_MIN ? INT_MIN : static_cast<int>(value);
}

namespace {

int* settingFor(Settings& settings, char letter) {
    switch (letter) {
        case 'c':
            return &settings.order;
        case 'd':
            return &settings.mapSelector;
        case 'f':
            return &settings.phaseSelector;
        case 'i':
            return &settings.iterations;
        case 'n':
            return &settings.recordCount;
        case 'o':
            return &settings.outputLevel;
        case 's':
            return &settings.seed;
        default:
            return nullptr;
    }
}

}  // namespace

Settings parseCommandLine(int argc, const char* const* argv) {
    Settings settings;
    for (int i = 1; i < argc; ++i) {
        const char* argument = argv[i];
        if (argument[0] != '-') {
            continue;
        }
        if (int* setting = settingFor(settings, argument[1])) {
            *setting = parseOptionValue(argument + 2);
        }
    }
    if (settings.order < 3) {
        settings.order = 3;
    }
    if (settings.recordCount < 0) {
        settings.recordCount = 0;
    }
    return settings;
}
