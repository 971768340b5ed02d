#pragma once
// An open document of the language server, and the addresses the protocol names files by.

#include "LspText.h"

#include <optional>
#include <string>
#include <string_view>

namespace pw::lsp {

enum class DocumentKind { Dialogue, Quest, Table, Other };

struct Document {
    std::string uri;
    std::string path; // the file system's path of the uri, empty for another scheme
    DocumentKind kind = DocumentKind::Other;
    DocumentText text;
};

// The file path of a "file:" URI (percent escapes decoded; on Windows "/C:/x" is "C:\x"); std::nullopt for
// another scheme.
std::optional<std::string> PathOfUri(std::string_view uri);
// The "file:" URI of a path, bytes outside the unreserved characters escaped.
std::string UriOfPath(const std::string& path);
// What a file is by its name: .info, .quest, a name ending in "stringtable.ini" or the table's own path.
DocumentKind KindOfPath(const std::string& path, const std::string& tablePath);
// Whether two paths name one file (expanded, separators and letter case of Windows set aside).
bool SamePath(const std::string& a, const std::string& b);

} // namespace pw::lsp
