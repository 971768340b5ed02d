#pragma once
// What the language server answers, each a function of an open document and the library: the results as
// the protocol shapes them. Texts go out in UTF-8; the program's own messages are Russian.

#include "LspDocument.h"
#include "LspLibrary.h"

#include <nlohmann/json.hpp>

#include <stdexcept>
#include <string>
#include <vector>

namespace pw::lsp {

// A request refused with the program's message (UTF-8), answered as the protocol's RequestFailed.
class RequestFailed : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where the library's folders and table are, for what reads files anew (references, renames).
struct LibraryPlaces {
    std::vector<std::string> roots;
    std::string table;
};

// The diagnostics of a dialogue or quest (check's findings for the file, the names the library lacks)
// or of the string table (its lint); none for another document.
nlohmann::json Diagnostics(const Document& document, const Library& library);

nlohmann::json Completion(const Document& document, Position position, const Library& library);
nlohmann::json Hover(const Document& document, Position position, const Library& library);
nlohmann::json Definition(const Document& document, Position position, const Library& library,
                          const LibraryPlaces& places);
nlohmann::json References(const Document& document, Position position, bool withDeclaration,
                          const Library& library, const LibraryPlaces& places);
nlohmann::json PrepareRename(const Document& document, Position position);
// Throws RequestFailed with the rename's own refusal.
nlohmann::json Rename(const Document& document, Position position, const std::string& newName,
                      const Library& library, const LibraryPlaces& places);
nlohmann::json DocumentSymbols(const Document& document);
nlohmann::json WorkspaceSymbols(const std::string& query, const Library& library);
// diagnostics: those of the request's context, as Diagnostics made them.
nlohmann::json CodeActions(const Document& document, const nlohmann::json& diagnostics,
                           const Library& library);

} // namespace pw::lsp
