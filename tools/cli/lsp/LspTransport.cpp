#include "LspTransport.h"

#include <cctype>
#include <cstdlib>
#include <string_view>

namespace pw::lsp {
namespace {

// One header line without its CR LF; false at the end of the input.
bool ReadHeaderLine(std::FILE* in, std::string& line) {
    line.clear();
    for (int c = std::fgetc(in); c != EOF; c = std::fgetc(in)) {
        if (c == '\n') {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return true;
        }
        line.push_back(static_cast<char>(c));
    }
    return false;
}

bool StartsWithNoCase(std::string_view text, std::string_view start) {
    if (text.size() < start.size())
        return false;
    for (std::size_t i = 0; i < start.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[i])) !=
            std::tolower(static_cast<unsigned char>(start[i])))
            return false;
    return true;
}

} // namespace

std::optional<std::string> ReadMessage(std::FILE* in) {
    constexpr std::string_view kLength = "Content-Length:";
    std::optional<std::size_t> length;
    std::string line;
    while (true) {
        if (!ReadHeaderLine(in, line))
            return std::nullopt;
        if (line.empty())
            break;
        if (StartsWithNoCase(line, kLength))
            length = std::strtoull(line.c_str() + kLength.size(), nullptr, 10);
    }
    if (!length)
        return std::nullopt;
    std::string body(*length, '\0');
    if (std::fread(body.data(), 1, body.size(), in) != body.size())
        return std::nullopt;
    return body;
}

void MessageWriter::Write(const nlohmann::json& message) {
    // Texts from files may hold bytes that are no UTF-8; they are replaced rather than refused.
    const std::string body = message.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    const std::string header = "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n";
    const std::lock_guard<std::mutex> lock(mLock);
    std::fwrite(header.data(), 1, header.size(), mOut);
    std::fwrite(body.data(), 1, body.size(), mOut);
    std::fflush(mOut);
}

} // namespace pw::lsp
