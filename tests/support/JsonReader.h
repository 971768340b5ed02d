#pragma once
// A strict reader of JSON text, for tests of what the program prints as JSON: anything RFC 8259 does not
// allow (a raw control character in a string, a stray comma, bytes after the value) is refused.

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace pwtest {

struct JsonValue {
    enum class Type { Null, Bool, Number, String, Array, Object } type = Type::Null;
    bool boolean = false;
    double number = 0;
    std::string text; // a string's value, UTF-8
    std::vector<JsonValue> items;
    std::map<std::string, JsonValue> members;

    bool Has(const std::string& key) const { return members.count(key) != 0; }
    // The member key of an object; throws std::runtime_error when there is none.
    const JsonValue& operator[](const std::string& key) const;
};

// The value of json; throws std::runtime_error saying where it is no JSON.
JsonValue ParseJson(const std::string& json);

} // namespace pwtest
