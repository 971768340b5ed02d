#pragma once
// The JSON that plotwright-cli prints for scripts (check's findings, translation-status): values written
// with nlohmann-json, one to a line.

#include <nlohmann/json.hpp>

#include <string>
#include <string_view>

namespace pw::cli {

using Json = nlohmann::ordered_json;

// text (UTF-8) as a JSON string may hold it: a byte that starts no UTF-8 character is taken as
// Windows-1251, as a path of the game's world spelt so would be.
std::string JsonText(std::string_view text);

// A JSON value on one line: ": " after a name, ", " between members and between elements.
std::string OneLine(const Json& value);

} // namespace pw::cli
