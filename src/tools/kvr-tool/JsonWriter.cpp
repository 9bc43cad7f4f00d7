#include "JsonWriter.h"

#include <charconv>
#include <cstdio>

void JsonWriter::separate()
{
    if (needComma_)
        out_ += ',';
    needComma_ = false;
}

JsonWriter& JsonWriter::beginObject()
{
    separate();
    out_ += '{';
    return *this;
}

JsonWriter& JsonWriter::endObject()
{
    out_ += '}';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::beginArray(const char* name)
{
    if (name)
        key(name);
    else
        separate();
    out_ += '[';
    return *this;
}

JsonWriter& JsonWriter::endArray()
{
    out_ += ']';
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::key(const char* name)
{
    separate();
    out_ += '"';
    out_ += name;
    out_ += "\":";
    return *this;
}

JsonWriter& JsonWriter::value(std::int64_t v)
{
    separate();
    out_ += std::to_string(v);
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(double v)
{
    separate();
    char buffer[32];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, v);
    std::string text(buffer, result.ptr);
    // Keep doubles recognisable as such ("1" would read back as an integer).
    if (text.find_first_of(".eEn") == std::string::npos)
        text += ".0";
    out_ += text;
    needComma_ = true;
    return *this;
}

JsonWriter& JsonWriter::value(const QString& v)
{
    separate();
    out_ += '"';
    for (const char c : v.toStdString()) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out_ += '\\';
            out_ += c;
        } else if (u < 0x20) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", u);
            out_ += escaped;
        } else {
            out_ += c;
        }
    }
    out_ += '"';
    needComma_ = true;
    return *this;
}
