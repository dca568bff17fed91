#include "json_writer.h"

#include <charconv>
#include <cmath>
#include <cstdio>

JsonWriter::~JsonWriter() {
    if (m_wroteAnything && m_holds.empty()) {
        m_out << '\n';
    }
    m_out.flush();
}

std::string JsonWriter::quoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\r':
                out += "\\r";
                break;
            case '\t':
                out += "\\t";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) {
                    char escaped[8];
                    std::snprintf(escaped, sizeof escaped, "\\u%04x",
                                  static_cast<unsigned>(static_cast<unsigned char>(c)));
                    out += escaped;
                } else {
                    out += c;  // UTF-8 passes through as it is
                }
        }
    }
    return out + "\"";
}

void JsonWriter::newLine() {
    if (m_indent > 0) {
        m_out << '\n' << std::string(m_holds.size() * static_cast<std::size_t>(m_indent), ' ');
    }
}

void JsonWriter::startItem() {
    m_wroteAnything = true;
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (m_holds.empty()) {
        return;
    }
    if (m_holds.back()) {
        m_out << ',';
    }
    m_holds.back() = true;
    newLine();
}

JsonWriter& JsonWriter::beginObject() {
    startItem();
    m_out << '{';
    m_holds.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::close(char bracket) {
    const bool held = m_holds.back();
    m_holds.pop_back();
    if (held) {
        newLine();
    }
    m_out << bracket;
    return *this;
}

JsonWriter& JsonWriter::endObject() {
    return close('}');
}

JsonWriter& JsonWriter::beginArray() {
    startItem();
    m_out << '[';
    m_holds.push_back(false);
    return *this;
}

JsonWriter& JsonWriter::endArray() {
    return close(']');
}

JsonWriter& JsonWriter::key(std::string_view name) {
    startItem();
    m_out << quoted(name) << ": ";
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::value(std::string_view text) {
    startItem();
    m_out << quoted(text);
    return *this;
}

JsonWriter& JsonWriter::value(bool flag) {
    startItem();
    m_out << (flag ? "true" : "false");
    return *this;
}

std::string JsonWriter::number(double number) {
    char text[32];
    const std::to_chars_result written = std::to_chars(text, text + sizeof text, number);
    return std::string(text, written.ptr);
}

JsonWriter& JsonWriter::value(double number) {
    if (!std::isfinite(number)) {
        return null();
    }
    startItem();
    m_out << JsonWriter::number(number);
    return *this;
}

JsonWriter& JsonWriter::signedValue(std::int64_t number) {
    startItem();
    m_out << number;
    return *this;
}

JsonWriter& JsonWriter::unsignedValue(std::uint64_t number) {
    startItem();
    m_out << number;
    return *this;
}

JsonWriter& JsonWriter::null() {
    startItem();
    m_out << "null";
    return *this;
}
