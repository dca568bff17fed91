#include "options.h"

#include <gtest/gtest.h>

#include <climits>
#include <initializer_list>
#include <vector>

namespace {

Settings parse(std::initializer_list<const char*> arguments) {
    std::vector<const char*> argv{"mapbench"};
    argv.insert(argv.end(), arguments);
    return parseCommandLine(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(ParseOptionValue, ReadsLikeAtoi) {
    EXPECT_EQ(parseOptionValue("42"), 42);
    EXPECT_EQ(parseOptionValue("-17"), -17);
    EXPECT_EQ(parseOptionValue("+8"), 8);
    EXPECT_EQ(parseOptionValue(" \t\n12"), 12);
    EXPECT_EQ(parseOptionValue("12abc"), 12);
    EXPECT_EQ(parseOptionValue("0x10"), 0);
}

TEST(ParseOptionValue, NoDigitsGiveZero) {
    EXPECT_EQ(parseOptionValue(""), 0);
    EXPECT_EQ(parseOptionValue("-"), 0);
    EXPECT_EQ(parseOptionValue("abc"), 0);
    EXPECT_EQ(parseOptionValue(" - 5"), 0);
    EXPECT_EQ(parseOptionValue("--5"), 0);
}

TEST(ParseOptionValue, SaturatesAtTheIntLimits) {
    EXPECT_EQ(parseOptionValue("2147483647"), INT_MAX);
    EXPECT_EQ(parseOptionValue("2147483648"), INT_MAX);
    EXPECT_EQ(parseOptionValue("-2147483648"), INT_MIN);
    EXPECT_EQ(parseOptionValue("-2147483649"), INT_MIN);
    EXPECT_EQ(parseOptionValue("99999999999999999999999999999999999"), INT_MAX);
    EXPECT_EQ(parseOptionValue("-00000000000000000000000000000000000012"), -12);
}

TEST(ParseCommandLine, DefaultsWithoutArguments) {
    const Settings settings = parse({});
    EXPECT_EQ(settings.order, 3);
    EXPECT_EQ(settings.mapSelector, 0);
    EXPECT_EQ(settings.phaseSelector, 0);
    EXPECT_EQ(settings.iterations, 1000000);
    EXPECT_EQ(settings.recordCount, 10000);
    EXPECT_EQ(settings.outputLevel, 1);
    EXPECT_EQ(settings.seed, 56789);
}

TEST(ParseCommandLine, ReadsEveryOption) {
    const Settings settings = parse({"-c7", "-d2", "-f1", "-i55", "-n66", "-o0", "-s-9"});
    EXPECT_EQ(settings.order, 7);
    EXPECT_EQ(settings.mapSelector, 2);
    EXPECT_EQ(settings.phaseSelector, 1);
    EXPECT_EQ(settings.iterations, 55);
    EXPECT_EQ(settings.recordCount, 66);
    EXPECT_EQ(settings.outputLevel, 0);
    EXPECT_EQ(settings.seed, -9);
}

TEST(ParseCommandLine, OrderBelowThreeBecomesThree) {
    EXPECT_EQ(parse({"-c2"}).order, 3);
    EXPECT_EQ(parse({"-c-7"}).order, 3);
    EXPECT_EQ(parse({"-c"}).order, 3);
    EXPECT_EQ(parse({"-c3"}).order, 3);
    EXPECT_EQ(parse({"-c10"}).order, 10);
}

TEST(ParseCommandLine, NegativeRecordCountBecomesZero) {
    EXPECT_EQ(parse({"-n-5"}).recordCount, 0);
    EXPECT_EQ(parse({"-n-2147483648"}).recordCount, 0);
}

TEST(ParseCommandLine, ValueInTheNextArgumentIsNotTaken) {
    const Settings settings = parse({"-n", "500", "-i0"});
    EXPECT_EQ(settings.recordCount, 0);
    EXPECT_EQ(settings.iterations, 0);
}

TEST(ParseCommandLine, UnknownArgumentsAreIgnored) {
    const Settings settings = parse({"x5", "-z3", "-", "", "-C4", "--n7"});
    EXPECT_EQ(settings.order, 3);
    EXPECT_EQ(settings.recordCount, 10000);
}

TEST(ParseCommandLine, LaterOptionOverridesEarlier) {
    EXPECT_EQ(parse({"-i100", "-i200"}).iterations, 200);
}
