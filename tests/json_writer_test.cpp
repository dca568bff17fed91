// The bench programs' JSON writer: its commas and nesting, its escapes, its
// numbers, and a round trip of every byte value and of exact doubles
// through Python's json module.
#include "json_writer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <vector>

namespace {

template <typename Write>
std::string written(Write write, int indent = 0) {
    std::ostringstream out;
    {
        JsonWriter json(out, indent);
        write(json);
    }
    return out.str();
}

std::string hexOf(const std::string& bytes) {
    std::string hex;
    char pair[3];
    for (const char c : bytes) {
        std::snprintf(pair, sizeof pair, "%02x",
                      static_cast<unsigned>(static_cast<unsigned char>(c)));
        hex += pair;
    }
    return hex;
}

std::string bitsOf(double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(bits));
    return text;
}

}  // namespace

TEST(JsonWriter, PlacesCommasAndNestsObjectsAndArrays) {
    EXPECT_EQ(written([](JsonWriter& json) {
                  json.beginObject()
                      .member("name", "find")
                      .key("sizes")
                      .array(std::vector<int>{1000, 10000})
                      .key("empty")
                      .beginObject()
                      .endObject()
                      .key("none")
                      .beginArray()
                      .endArray()
                      .key("nested")
                      .beginArray()
                      .beginObject()
                      .member("ok", true)
                      .endObject()
                      .null()
                      .endArray()
                      .endObject();
              }),
              R"({"name": "find","sizes": [1000,10000],"empty": {},"none": [],)"
              R"("nested": [{"ok": true},null]})"
              "\n");
}

TEST(JsonWriter, IndentsEachItemOnALineOfItsOwn) {
    EXPECT_EQ(written(
                  [](JsonWriter& json) {
                      json.beginObject().key("a").array(std::vector<int>{1, 2}).endObject();
                  },
                  1),
              "{\n \"a\": [\n  1,\n  2\n ]\n}\n");
}

TEST(JsonWriter, EscapesQuotesBackslashesAndControlCharacters) {
    EXPECT_EQ(JsonWriter::quoted("say \"hi\" \\ now"), R"("say \"hi\" \\ now")");
    EXPECT_EQ(JsonWriter::quoted("a\nb\tc\rd"), R"("a\nb\tc\rd")");
    EXPECT_EQ(JsonWriter::quoted(std::string("\x01\x1f\x7f", 3)), R"("\u0001\u001f\u007f")");
    EXPECT_EQ(JsonWriter::quoted(std::string("nul\0here", 8)), R"("nul\u0000here")");
    EXPECT_EQ(JsonWriter::quoted("µs ≤ 1"), "\"µs ≤ 1\"");
    EXPECT_EQ(
        written([](JsonWriter& json) { json.beginObject().member("k\"ey", "v").endObject(); }),
        "{\"k\\\"ey\": \"v\"}\n");
}

TEST(JsonWriter, WritesNumbersThatReadBackAsTheSameValue) {
    EXPECT_EQ(JsonWriter::number(50), "50");
    EXPECT_EQ(JsonWriter::number(99.9), "99.9");
    EXPECT_EQ(JsonWriter::number(0.1), "0.1");
    EXPECT_EQ(written([](JsonWriter& json) {
                  json.beginArray()
                      .value(std::numeric_limits<std::uint64_t>::max())
                      .value(std::numeric_limits<std::int64_t>::min())
                      .value(-3)
                      .value(std::nan(""))
                      .value(std::numeric_limits<double>::infinity())
                      .endArray();
              }),
              "[18446744073709551615,-9223372036854775808,-3,null,null]\n");
}

#ifdef MAPBENCH_PYTHON
// Every byte value from 1 to 127, UTF-8 text and awkward doubles go through
// Python's json module; Python hands back the bytes and the doubles' bits,
// which must be those written.
TEST(JsonWriter, RoundTripsThroughPythonsJson) {
    std::string every;
    for (int c = 1; c < 128; ++c) {
        every += static_cast<char>(c);
    }
    const std::vector<std::string> texts = {every, "µs ≤ 1 — ✓", "", "\\\"\\\\"};
    const std::vector<double> numbers = {
        0.1, 1.0 / 3, 1e300, -2.5e-310, 123456789.123456789, std::numeric_limits<double>::max()};
    const std::string path = testing::TempDir() + "json_round_trip.json";
    {
        std::ofstream out(path);
        JsonWriter json(out);
        json.beginObject().key("texts").beginArray();
        for (const std::string& text : texts) {
            json.value(text);
        }
        json.endArray().key("numbers").array(numbers).endObject();
    }
    const std::string script =
        "import json, struct, sys; d = json.load(open(sys.argv[1], encoding='utf-8')); "
        "print(' '.join(t.encode('utf-8').hex() for t in d['texts'])); "
        "print(' '.join('%016x' % struct.unpack('<Q', struct.pack('<d', x))[0] "
        "for x in d['numbers']))";
    const std::string command =
        std::string(MAPBENCH_PYTHON) + " -c \"" + script + "\" " + path + " > " + path + ".out";
    ASSERT_EQ(std::system(command.c_str()), 0);
    std::ifstream back(path + ".out");
    std::string textLine, numberLine;
    std::getline(back, textLine);
    std::getline(back, numberLine);
    std::string expectedTexts, expectedNumbers;
    for (const std::string& text : texts) {
        expectedTexts += (expectedTexts.empty() ? "" : " ") + hexOf(text);
    }
    for (const double number : numbers) {
        expectedNumbers += (expectedNumbers.empty() ? "" : " ") + bitsOf(number);
    }
    EXPECT_EQ(textLine, expectedTexts);
    EXPECT_EQ(numberLine, expectedNumbers);
}
#endif
