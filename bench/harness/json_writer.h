// Writes one JSON document to a stream, one member or element at a time:
// the writer places the commas, escapes every string and writes numbers so
// that a reader gets back the same value. Every bench program writes its
// results and its list through it.
//
//   JsonWriter json(std::cout);
//   json.beginObject().member("name", "find").key("sizes").beginArray();
//   json.value(1000).value(10000).endArray().endObject();
#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

class JsonWriter {
public:
    // `indent` spaces per level, each member and element on a line of its
    // own; 0 writes the document on one line.
    explicit JsonWriter(std::ostream& out, int indent = 1) : m_out(out), m_indent(indent) {}
    // Ends the last line of a finished document.
    ~JsonWriter();
    JsonWriter(const JsonWriter&) = delete;
    JsonWriter& operator=(const JsonWriter&) = delete;

    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray();
    JsonWriter& endArray();
    // The name of the next member of the object being written.
    JsonWriter& key(std::string_view name);

    JsonWriter& value(std::string_view text);
    JsonWriter& value(const char* text) { return value(std::string_view(text)); }
    JsonWriter& value(const std::string& text) { return value(std::string_view(text)); }
    JsonWriter& value(bool flag);
    // Infinities and NaN, which JSON cannot hold, are written as null.
    JsonWriter& value(double number);
    template <typename Integer, typename = std::enable_if_t<std::is_integral_v<Integer> &&
                                                            !std::is_same_v<Integer, bool>>>
    JsonWriter& value(Integer number) {
        if constexpr (std::is_signed_v<Integer>) {
            return signedValue(static_cast<std::int64_t>(number));
        } else {
            return unsignedValue(static_cast<std::uint64_t>(number));
        }
    }
    JsonWriter& null();

    // key(name).value(v).
    template <typename Value>
    JsonWriter& member(std::string_view name, const Value& v) {
        return key(name).value(v);
    }
    // An array of the values.
    template <typename Value>
    JsonWriter& array(const std::vector<Value>& values) {
        beginArray();
        for (const Value& v : values) {
            value(v);
        }
        return endArray();
    }

    // `text` as a JSON string, quotes included.
    static std::string quoted(std::string_view text);
    // The shortest decimal text that reads back as `number`: "50", "99.9".
    static std::string number(double number);

private:
    JsonWriter& signedValue(std::int64_t number);
    JsonWriter& unsignedValue(std::uint64_t number);
    // Before a value or a key: the comma and the line break it needs.
    void startItem();
    void newLine();
    JsonWriter& close(char bracket);

    std::ostream& m_out;
    int m_indent;
    // One entry per open object or array: whether it holds an item yet.
    std::vector<bool> m_holds;
    bool m_afterKey = false;
    bool m_wroteAnything = false;
};
