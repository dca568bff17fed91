// Runs a function and returns what it wrote to standard output.
#pragma once

#include <gtest/gtest.h>

#include <iostream>
#include <string>

template <typename Action>
std::string captureStdout(Action action) {
    std::cout.flush();
    testing::internal::CaptureStdout();
    action();
    std::cout.flush();
    return testing::internal::GetCapturedStdout();
}
