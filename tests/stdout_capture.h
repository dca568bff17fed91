// What a piece of code writes: to standard output, or to a stream it is given.
#pragma once

#include <iostream>
#include <sstream>
#include <string>

// Runs `action` with standard output sent into a string, and returns the string.
template <typename Action>
std::string captureStdout(Action action) {
    std::ostringstream captured;
    std::streambuf* terminal = std::cout.rdbuf(captured.rdbuf());
    try {
        action();
    } catch (...) {
        std::cout.rdbuf(terminal);
        throw;
    }
    std::cout.rdbuf(terminal);
    return captured.str();
}

// Runs `write(out)` on a string stream and returns what it wrote.
template <typename Write>
std::string writtenBy(Write write) {
    std::ostringstream out;
    write(out);
    return out.str();
}
