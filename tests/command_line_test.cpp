// The bench programs' one command line: flags with values and switches,
// whole numbers within their ranges, lists, the library's flags left for
// it, and a clear refusal of anything else.
#include "command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

const std::vector<Flag> kFlags = {{"--list", false, "what it runs"},
                                  {"--sizes", true, "record counts"},
                                  {"--maps", true, "map names"},
                                  {"--operations", true, "calls per run"}};

struct Parsed {
    CommandLine flags;
    std::vector<std::string> left;  // what stays in argv
};

Parsed parse(std::vector<std::string> arguments, const std::string& libraryPrefix = "") {
    arguments.insert(arguments.begin(), "bench");
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int argc = static_cast<int>(arguments.size());
    CommandLine flags("bench", argc, argv.data(), kFlags, libraryPrefix);
    return {flags, std::vector<std::string>(argv.begin(), argv.begin() + argc)};
}

std::string refusal(std::vector<std::string> arguments) {
    try {
        const CommandLine flags = parse(std::move(arguments)).flags;
        flags.sizes({1});
        flags.number("--operations", 1, 1000, 1);
    } catch (const FlagError& error) {
        return error.what();
    }
    return "accepted";
}

}  // namespace

TEST(ParseNumber, TakesWholeNumbersWithinTheirRange) {
    EXPECT_EQ(parseNumber("--n", "0", 0, 10), 0);
    EXPECT_EQ(parseNumber("--n", "-7", -10, 10), -7);
    EXPECT_EQ(parseNumber("--n", "9223372036854775807", 0, INT64_MAX), INT64_MAX);
}

TEST(ParseNumber, RefusesTrailingTextSignsAndEmptinessByName) {
    for (const char* text : {"12abc", "", "-", "+5", " 5", "5 ", "1e6", "0x10", "--3"}) {
        SCOPED_TRACE(text);
        EXPECT_THROW(parseNumber("--n", text, -100, 100), FlagError);
    }
    try {
        parseNumber("--operations", "12abc", 1, 1000);
        FAIL() << "accepted";
    } catch (const FlagError& error) {
        EXPECT_STREQ(error.what(), "--operations takes a whole number from 1 to 1000, not '12abc'");
    }
}

TEST(ParseNumber, RefusesValuesOutOfRangeAndBeyondTheMachineWord) {
    EXPECT_THROW(parseNumber("--n", "11", 0, 10), FlagError);
    EXPECT_THROW(parseNumber("--n", "-1", 0, 10), FlagError);
    try {
        parseNumber("--n", "99999999999999999999", 0, 10);
        FAIL() << "accepted";
    } catch (const FlagError& error) {
        EXPECT_STREQ(error.what(), "--n takes a number from 0 to 10, not 99999999999999999999");
    }
}

TEST(CommandLine, ReadsFlagsSwitchesListsAndDefaults) {
    const Parsed parsed = parse({"--list", "--sizes=1000,20", "--maps=BTree_3,std_map"});
    EXPECT_EQ(parsed.left, std::vector<std::string>{"bench"});
    const CommandLine& flags = parsed.flags;
    EXPECT_TRUE(flags.has("--list"));
    EXPECT_EQ(flags.sizes({5}), (std::vector<int>{1000, 20}));
    EXPECT_EQ(flags.names("--maps"), (std::vector<std::string>{"BTree_3", "std_map"}));
    EXPECT_EQ(flags.number("--operations", 1, 10, 7), 7);
    EXPECT_EQ(parse({}).flags.sizes({5}), std::vector<int>{5});
    EXPECT_TRUE(flags.names("--nothing").empty());
}

TEST(CommandLine, TheLastOfARepeatedFlagWins) {
    EXPECT_EQ(parse({"--operations=3", "--operations=4"}).flags.number("--operations", 1, 10, 1),
              4);
}

TEST(CommandLine, LeavesTheLibrarysFlagsInPlaceAndReadsThem) {
    const Parsed parsed = parse(
        {"--benchmark_filter=^find/", "--sizes=10", "--benchmark_repetitions=3"}, "--benchmark_");
    EXPECT_EQ(parsed.left, (std::vector<std::string>{"bench", "--benchmark_filter=^find/",
                                                     "--benchmark_repetitions=3"}));
    EXPECT_EQ(parsed.flags.sizes({}), std::vector<int>{10});
    EXPECT_EQ(parsed.flags.libraryValue("--benchmark_repetitions"), "3");
    EXPECT_EQ(parsed.flags.libraryValue("--benchmark_min_time"), "");
}

TEST(CommandLine, RefusesWhatItDoesNotTakeWithAMessageNamingIt) {
    EXPECT_EQ(refusal({"--sizes=1000"}), "accepted");
    EXPECT_EQ(refusal({"--sizes=12abc"}).rfind("--sizes takes a whole number from 1 to", 0), 0u);
    EXPECT_EQ(refusal({"--sizes=0"}), "--sizes takes a number from 1 to 100000000, not 0");
    EXPECT_EQ(refusal({"--sizes=10,,20"}),
              "--sizes takes a whole number from 1 to 100000000, not ''");
    EXPECT_EQ(refusal({"--sizes="}), "--sizes takes a comma-separated list, not nothing");
    EXPECT_EQ(refusal({"--operations=1001"}),
              "--operations takes a number from 1 to 1000, not 1001");
    EXPECT_EQ(refusal({"--list=yes"}), "--list takes no value");
    EXPECT_EQ(refusal({"--maps"}), "--maps takes a value: --maps=...");
    EXPECT_EQ(refusal({"--size=5"}).rfind("unknown argument '--size=5'\nusage: bench [--list]", 0),
              0u);
    EXPECT_EQ(refusal({"1000"}).rfind("unknown argument '1000'", 0), 0u);
    // Without a library, its flags are unknown too.
    EXPECT_EQ(refusal({"--benchmark_filter=x"}).rfind("unknown argument", 0), 0u);
}

TEST(RunProgram, TurnsARefusalIntoAMessageAndStatusTwo) {
    testing::internal::CaptureStderr();
    const int status = runProgram("map_latency", []() -> int { throw FlagError("no such map"); });
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "map_latency: no such map\n");
    EXPECT_EQ(status, 2);
    EXPECT_EQ(runProgram("map_latency", [] { return 0; }), 0);
}
