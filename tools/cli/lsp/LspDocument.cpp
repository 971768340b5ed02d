#include "LspDocument.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/StrUtilsEx.h"

#include <cctype>

namespace pw::lsp {
namespace {

bool EndsWithNoCase(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && AsciiEqualNoCase(text.substr(text.size() - end.size()), end);
}

std::string Normalized(const std::string& path) {
    std::string expanded = ExpandFileName(path);
#ifdef _WIN32
    for (char& c : expanded)
        c = c == '/' ? '\\' : AsciiUpper(c);
#endif
    return expanded;
}

} // namespace

std::optional<std::string> PathOfUri(std::string_view uri) {
    constexpr std::string_view kScheme = "file://";
    if (!AsciiEqualNoCase(uri.substr(0, kScheme.size()), kScheme))
        return std::nullopt;
    uri.remove_prefix(kScheme.size());
    // A host before the path ("file://server/share") is left as the path's start.
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && HexValue(uri[i + 1]) >= 0 && HexValue(uri[i + 2]) >= 0) {
            path += static_cast<char>(HexValue(uri[i + 1]) * 16 + HexValue(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
#ifdef _WIN32
    if (path.size() >= 3 && path[0] == '/' && path[2] == ':')
        path.erase(0, 1);
    for (char& c : path)
        if (c == '/')
            c = '\\';
#endif
    return path;
}

std::string UriOfPath(const std::string& path) {
    std::string uri = "file://";
    std::string full = ExpandFileName(path);
#ifdef _WIN32
    for (char& c : full)
        if (c == '\\')
            c = '/';
    if (!full.empty() && full[0] != '/')
        uri += '/';
#endif
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (const char c : full) {
        const auto byte = static_cast<unsigned char>(c);
        if (std::isalnum(byte) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~' || c == ':') {
            uri += c;
        } else {
            uri += '%';
            uri += kHex[byte >> 4];
            uri += kHex[byte & 15];
        }
    }
    return uri;
}

DocumentKind KindOfPath(const std::string& path, const std::string& tablePath) {
    if (EndsWithNoCase(path, ".info"))
        return DocumentKind::Dialogue;
    if (EndsWithNoCase(path, ".quest"))
        return DocumentKind::Quest;
    if (EndsWithNoCase(path, "stringtable.ini") || (!tablePath.empty() && SamePath(path, tablePath)))
        return DocumentKind::Table;
    return DocumentKind::Other;
}

bool SamePath(const std::string& a, const std::string& b) {
    return Normalized(a) == Normalized(b);
}

} // namespace pw::lsp
