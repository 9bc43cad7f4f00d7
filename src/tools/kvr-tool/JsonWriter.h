#pragma once

#include <QString>
#include <cstdint>
#include <string>

// Compact JSON text. Doubles use the shortest form that reads back as the
// same value, so every number round-trips exactly.
class JsonWriter {
public:
    JsonWriter& beginObject();
    JsonWriter& endObject();
    JsonWriter& beginArray(const char* key = nullptr);
    JsonWriter& endArray();
    JsonWriter& key(const char* name);
    JsonWriter& value(std::int64_t v);
    JsonWriter& value(double v);
    JsonWriter& value(const QString& v);
    template <class T>
    JsonWriter& field(const char* name, T v) { return key(name).value(v); }

    const std::string& text() const { return out_; }

private:
    void separate();

    std::string out_;
    bool needComma_ = false;
};
