#include "JsonReader.h"

#include "core/data/Cp1251.h"

#include <cstdlib>
#include <stdexcept>

namespace pwtest {
namespace {

class Reader {
public:
    explicit Reader(const std::string& json) : mJson(json) {}

    JsonValue Document() {
        JsonValue value = Value();
        Blanks();
        if (mAt != mJson.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("no JSON at byte " + std::to_string(mAt) + ": " + what);
    }
    void Blanks() {
        while (mAt < mJson.size() && std::string(" \t\r\n").find(mJson[mAt]) != std::string::npos)
            ++mAt;
    }
    bool Take(char c) {
        Blanks();
        if (mAt < mJson.size() && mJson[mAt] == c) {
            ++mAt;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c))
            Fail(std::string("expected ") + c);
    }
    bool Word(const std::string& word) {
        if (mJson.compare(mAt, word.size(), word) != 0)
            return false;
        mAt += word.size();
        return true;
    }

    JsonValue Value() {
        Blanks();
        JsonValue value;
        if (Take('{')) {
            value.type = JsonValue::Type::Object;
            for (bool more = !Take('}'); more; more = Take(',')) {
                Blanks();
                const std::string key = String();
                Expect(':');
                value.members[key] = Value();
            }
            if (!value.members.empty())
                Expect('}');
        } else if (Take('[')) {
            value.type = JsonValue::Type::Array;
            for (bool more = !Take(']'); more; more = Take(','))
                value.items.push_back(Value());
            if (!value.items.empty())
                Expect(']');
        } else if (mAt < mJson.size() && mJson[mAt] == '"') {
            value.type = JsonValue::Type::String;
            value.text = String();
        } else if (Word("true")) {
            value.type = JsonValue::Type::Bool;
            value.boolean = true;
        } else if (Word("false")) {
            value.type = JsonValue::Type::Bool;
        } else if (!Word("null")) {
            value.type = JsonValue::Type::Number;
            value.number = Number();
        }
        return value;
    }

    double Number() {
        const std::size_t start = mAt;
        while (mAt < mJson.size() && std::string("0123456789.eE+-").find(mJson[mAt]) != std::string::npos)
            ++mAt;
        const std::string number = mJson.substr(start, mAt - start);
        char* end = nullptr;
        const double value = std::strtod(number.c_str(), &end);
        if (number.empty() || end != number.c_str() + number.size() || number[0] == '+')
            Fail("no value");
        return value;
    }

    char32_t Hex4() {
        if (mAt + 4 > mJson.size())
            Fail("short \\u escape");
        char* end = nullptr;
        const std::string hex = mJson.substr(mAt, 4);
        const auto unit = static_cast<char32_t>(std::strtoul(hex.c_str(), &end, 16));
        if (end != hex.c_str() + 4)
            Fail("bad \\u escape");
        mAt += 4;
        return unit;
    }

    std::string String() {
        if (mAt >= mJson.size() || mJson[mAt] != '"')
            Fail("expected a string");
        ++mAt;
        std::string text;
        while (true) {
            if (mAt >= mJson.size())
                Fail("unended string");
            const char c = mJson[mAt++];
            if (c == '"')
                break;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("raw control character in a string");
            if (c != '\\') {
                text += c;
                continue;
            }
            const char escape = mAt < mJson.size() ? mJson[mAt++] : '\0';
            const std::string from = "\"\\/bfnrt";
            const std::string to = "\"\\/\b\f\n\r\t";
            if (from.find(escape) != std::string::npos) {
                text += to[from.find(escape)];
            } else if (escape == 'u') {
                char32_t unit = Hex4();
                if (unit >= 0xD800 && unit < 0xDC00 && Word("\\u")) {
                    const char32_t low = Hex4();
                    if (low < 0xDC00 || low >= 0xE000)
                        Fail("unpaired surrogate");
                    unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                } else if (unit >= 0xD800 && unit < 0xE000) {
                    Fail("unpaired surrogate");
                }
                pw::AppendUtf8(text, unit);
            } else {
                Fail("bad escape");
            }
        }
        if (!pw::DecodeUtf8(text))
            Fail("a string that is no UTF-8");
        return text;
    }

    const std::string& mJson;
    std::size_t mAt = 0;
};

} // namespace

const JsonValue& JsonValue::operator[](const std::string& key) const {
    const auto found = members.find(key);
    if (found == members.end())
        throw std::runtime_error("no member \"" + key + "\"");
    return found->second;
}

JsonValue ParseJson(const std::string& json) {
    return Reader(json).Document();
}

} // namespace pwtest
