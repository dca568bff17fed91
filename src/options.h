// The benchmark's seven command-line settings and how they are read.
#pragma once

struct Settings {
    int order = 3;             // -c: B-tree order, at least 3
    int mapSelector = 0;       // -d: 0 all, 1 vector, 2 B-tree, 3 AVL, 4 B-tree and AVL
    int phaseSelector = 0;     // -f: 0 both phases, 1 finds only, 2 mix only
    int iterations = 1000000;  // -i: iterations of each timed phase
    int recordCount = 10000;   // -n: records, at least 0
    int outputLevel = 1;       // -o: 0 summaries only, 1 times, 2 also dumps
    int seed = 56789;          // -s: seed of the platform generator
};

// Reads a decimal number as atoi does (leading white space, an optional
// sign, digits up to the first non-digit, 0 without digits) but saturates at
// the int limits instead of overflowing.
int parseOptionValue(const char* text);

// Reads every argument after the program name. An option is "-" followed by
// one of the letters c d f i n o s and its value in the same argument; any
// other argument is ignored, and a later option overrides an earlier one.
// A B-tree order below 3 becomes 3 and a negative record count becomes 0.
Settings parseCommandLine(int argc, const char* const* argv);
