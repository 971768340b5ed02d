#include "LspServer.h"

#include "core/data/FileIO.h"
#include "core/data/StrUtilsEx.h"

#include <filesystem>

namespace pw::lsp {
namespace {

using nlohmann::json;

// The protocol's error codes.
constexpr int kMethodNotFound = -32601, kInvalidParams = -32602, kNotInitialized = -32002,
              kRequestFailed = -32803;
constexpr std::string_view kProgressToken = "plotwright/index";
constexpr int kMessageWarning = 2; // window/showMessage's type

// The language option: a code, name or column number, given as a string or a number.
std::string LanguageOption(const json& value) {
    if (value.is_number_integer())
        return std::to_string(value.get<long long>());
    return value.is_string() ? value.get<std::string>() : std::string();
}

class ResponseError : public std::runtime_error {
public:
    ResponseError(int code, const std::string& message) : std::runtime_error(message), mCode(code) {}
    int Code() const { return mCode; }

private:
    int mCode;
};

std::vector<std::string> Strings(const json& value) {
    std::vector<std::string> strings;
    if (value.is_string())
        strings.push_back(value.get<std::string>());
    else if (value.is_array())
        for (const json& item : value)
            if (item.is_string())
                strings.push_back(item.get<std::string>());
    return strings;
}

// A stringtable.ini in folder or the nearest folder above it; empty when there is none.
std::string TableAbove(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code error;
    for (fs::path at(std::u8string(folder.begin(), folder.end())); !at.empty(); at = at.parent_path()) {
        const fs::path table = at / "stringtable.ini";
        if (fs::is_regular_file(table, error)) {
            const std::u8string name = table.u8string();
            return std::string(name.begin(), name.end());
        }
        if (at == at.parent_path())
            break;
    }
    return {};
}

json WorkspaceRoots(const json& params) {
    json roots = json::array();
    if (params.contains("workspaceFolders") && params["workspaceFolders"].is_array())
        for (const json& folder : params["workspaceFolders"])
            roots.push_back(folder.value("uri", std::string()));
    else if (params.contains("rootUri") && params["rootUri"].is_string())
        roots.push_back(params["rootUri"]);
    return roots;
}

} // namespace

Server::Server(std::FILE* in, std::FILE* out, ServerOptions options)
    : mIn(in), mWriter(out), mOptions(std::move(options)) {}

Server::~Server() {
    {
        const std::lock_guard<std::mutex> lock(mQueueLock);
        mQueue.push_back(std::nullopt);
    }
    mQueued.notify_one();
    if (mWorker.joinable())
        mWorker.join();
    if (mIndexer.joinable())
        mIndexer.join();
}

int Server::Run() {
    mWorker = std::thread([this] { Work(); });
    while (true) {
        std::optional<std::string> body = ReadMessage(mIn);
        std::optional<json> message;
        if (body) {
            message = json::parse(*body, nullptr, false);
            if (message->is_discarded()) {
                mWriter.Write({{"jsonrpc", "2.0"},
                               {"id", nullptr},
                               {"error", {{"code", -32700}, {"message", "Parse error"}}}});
                continue;
            }
        }
        const bool exit = !message || message->value("method", std::string()) == "exit";
        {
            const std::lock_guard<std::mutex> lock(mQueueLock);
            mQueue.push_back(std::move(message));
        }
        mQueued.notify_one();
        if (exit)
            break;
    }
    mWorker.join();
    return mShutDown ? 0 : 1;
}

void Server::Work() {
    while (true) {
        std::optional<json> message;
        {
            std::unique_lock<std::mutex> lock(mQueueLock);
            mQueued.wait(lock, [this] { return !mQueue.empty(); });
            message = std::move(mQueue.front());
            mQueue.pop_front();
        }
        if (!message || message->value("method", std::string()) == "exit")
            return;
        Handle(*message);
    }
}

void Server::Handle(const json& message) {
    const std::string method = message.value("method", std::string());
    const json params = message.value("params", json::object());
    if (method.empty())
        return; // an answer to one of our requests
    if (!message.contains("id")) {
        try {
            Notify(method, params);
        } catch (const std::exception&) {
            // A notification has no answer to carry a failure; the next request gets its own.
        }
        return;
    }
    json response = {{"jsonrpc", "2.0"}, {"id", message["id"]}};
    try {
        if (!mInitialized && method != "initialize")
            throw ResponseError(kNotInitialized, "Сервер ещё не инициализирован");
        response["result"] = Answer(method, params);
    } catch (const ResponseError& e) {
        response["error"] = {{"code", e.Code()}, {"message", e.what()}};
    } catch (const RequestFailed& e) {
        response["error"] = {{"code", kRequestFailed}, {"message", e.what()}};
    } catch (const json::exception& e) {
        response["error"] = {{"code", kInvalidParams}, {"message", e.what()}};
    } catch (const std::exception& e) {
        response["error"] = {{"code", kRequestFailed}, {"message", e.what()}};
    }
    mWriter.Write(response);
}

json Server::Answer(const std::string& method, const json& params) {
    if (method == "initialize")
        return Initialize(params);
    if (method == "shutdown") {
        mShutDown = true;
        return nullptr;
    }
    if (method == "workspace/symbol")
        return WorkspaceSymbols(params.value("query", std::string()), CurrentLibrary());
    if (method.rfind("textDocument/", 0) != 0)
        throw ResponseError(kMethodNotFound, "Unknown method " + method);
    const Document& document = DocumentOf(params);
    if (method == "textDocument/documentSymbol")
        return DocumentSymbols(document);
    if (method == "textDocument/prepareRename")
        return PrepareRename(document, PositionFrom(params.at("position")));
    const Library library = CurrentLibrary();
    const Position position = PositionFrom(params.value("position", json::object()));
    if (method == "textDocument/completion")
        return Completion(document, position, library);
    if (method == "textDocument/hover")
        return Hover(document, position, library);
    if (method == "textDocument/definition")
        return Definition(document, position, library, mPlaces);
    if (method == "textDocument/references") {
        const bool declaration = params.value("context", json::object()).value("includeDeclaration", true);
        return References(document, position, declaration, library, mPlaces);
    }
    if (method == "textDocument/rename")
        return Rename(document, position, params.at("newName").get<std::string>(), library, mPlaces);
    if (method == "textDocument/codeAction")
        return CodeActions(
            document, params.value("context", json::object()).value("diagnostics", json::array()), library);
    throw ResponseError(kMethodNotFound, "Unknown method " + method);
}

void Server::Notify(const std::string& method, const json& params) {
    if (method == "textDocument/didOpen")
        Open(params);
    else if (method == "textDocument/didChange")
        Change(params);
    else if (method == "textDocument/didSave")
        WatchedFilesChanged({{"changes", json::array({params["textDocument"]})}});
    else if (method == "textDocument/didClose")
        Close(params);
    else if (method == "workspace/didChangeWatchedFiles")
        WatchedFilesChanged(params);
    else if (method == "plotwright/indexed")
        PublishAll();
}

json Server::Initialize(const json& params) {
    mInitialized = true;
    TakeSettings(params);
    const json capabilities = params.value("capabilities", json::object());
    mProgressAllowed = capabilities.value("window", json::object()).value("workDoneProgress", false);
    StartIndexing();
    return {{"capabilities",
             {{"positionEncoding", "utf-16"},
              {"textDocumentSync", {{"openClose", true}, {"change", 1}, {"save", {{"includeText", false}}}}},
              {"completionProvider", {{"triggerCharacters", {"=", ";", ","}}}},
              {"hoverProvider", true},
              {"definitionProvider", true},
              {"referencesProvider", true},
              {"renameProvider", {{"prepareProvider", true}}},
              {"documentSymbolProvider", true},
              {"workspaceSymbolProvider", true},
              {"codeActionProvider", {{"codeActionKinds", {"quickfix"}}}}}},
            {"serverInfo", {{"name", "plotwright-cli lsp"}}}};
}

// The roots and the table: the command line's, else the initialization options', else the workspace's.
void Server::TakeSettings(const json& params) {
    mPlaces.roots = mOptions.roots;
    mPlaces.table = mOptions.table;
    const json options = params.value("initializationOptions", json::object());
    if (mPlaces.roots.empty() && options.is_object())
        for (const char* key : {"infos", "quests"})
            for (const std::string& root : Strings(options.value(key, json())))
                mPlaces.roots.push_back(root);
    if (mPlaces.table.empty() && options.is_object())
        mPlaces.table = options.value("stringtable", std::string());
    if (options.is_object())
        mLanguage = LanguageOption(options.value("language", json()));
    const bool fromWorkspace = mPlaces.roots.empty();
    for (const std::string& uri : Strings(WorkspaceRoots(params))) {
        const std::optional<std::string> path = PathOfUri(uri);
        if (!path)
            continue;
        if (fromWorkspace)
            mPlaces.roots.push_back(*path);
        if (mPlaces.table.empty())
            mPlaces.table = TableAbove(*path);
    }
}

void Server::StartIndexing() {
    {
        const std::lock_guard<std::mutex> lock(mLibraryLock);
        if (mBuilding) {
            mBuildAgain = true;
            return;
        }
        mBuilding = true;
    }
    if (mIndexer.joinable())
        mIndexer.join();
    mIndexer = std::thread([this] { Index(); });
}

void Server::Progress(const json& value) {
    if (mProgressAllowed)
        mWriter.Write({{"jsonrpc", "2.0"},
                       {"method", "$/progress"},
                       {"params", {{"token", kProgressToken}, {"value", value}}}});
}

void Server::Index() {
    if (mProgressAllowed)
        mWriter.Write({{"jsonrpc", "2.0"},
                       {"id", "plotwright/" + std::to_string(mNextRequest++)},
                       {"method", "window/workDoneProgress/create"},
                       {"params", {{"token", kProgressToken}}}});
    for (bool again = true; again;) {
        Progress({{"kind", "begin"}, {"title", "Plotwright: чтение библиотеки"}, {"cancellable", false}});
        Library library;
        library.snapshot = BuildLibrarySnapshot(mPlaces.roots);
        if (!mPlaces.table.empty()) {
            library.table = std::make_shared<const TableView>(mPlaces.table);
            std::string problem;
            library.language = ChosenLanguage(*library.table, mLanguage, &problem);
            if (!problem.empty() && problem != mLanguageProblem)
                mWriter.Write({{"jsonrpc", "2.0"},
                               {"method", "window/showMessage"},
                               {"params", {{"type", kMessageWarning}, {"message", problem}}}});
            mLanguageProblem = problem;
        }
        const LibraryIndex& index = library.snapshot->index;
        Progress({{"kind", "end"},
                  {"message", "Файлов: " + std::to_string(index.Entries().size()) +
                                  (library.table ? ", строк: " + std::to_string(library.table->Size())
                                                 : std::string())}});
        {
            const std::lock_guard<std::mutex> lock(mLibraryLock);
            mLibrary = std::move(library);
            again = mBuildAgain;
            mBuildAgain = false;
            mBuilding = again;
        }
        mBuilt.notify_all();
        {
            const std::lock_guard<std::mutex> lock(mQueueLock);
            mQueue.push_back(json{{"method", "plotwright/indexed"}});
        }
        mQueued.notify_one();
    }
}

Library Server::CurrentLibrary() {
    std::unique_lock<std::mutex> lock(mLibraryLock);
    mBuilt.wait(lock, [this] { return mLibrary.has_value(); });
    if (mLibrary->table && mLibrary->table->Stale()) {
        mLibrary->table = std::make_shared<const TableView>(mLibrary->table->Path());
        mLibrary->language = ChosenLanguage(*mLibrary->table, mLanguage);
    }
    return *mLibrary;
}

const Document& Server::DocumentOf(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    const auto open = mDocuments.find(uri);
    if (open != mDocuments.end())
        return open->second;
    // A file the client has not opened is read from disk, and again once its size or time changes.
    const std::optional<std::string> path = PathOfUri(uri);
    if (!path)
        throw RequestFailed("Документ не открыт: " + uri);
    const auto stamp = FileStamp(*path);
    const auto held = mDiskDocuments.find(uri);
    if (held != mDiskDocuments.end() && held->second.first == stamp)
        return held->second.second;
    const std::optional<std::string> bytes = TryReadWholeFile(*path);
    if (!bytes)
        throw RequestFailed("Не удаётся прочитать файл " + *path);
    Document document{uri, *path, KindOfPath(*path, mPlaces.table), DocumentText(FileBytesToUtf8(*bytes))};
    return mDiskDocuments.insert_or_assign(uri, std::make_pair(stamp, std::move(document)))
        .first->second.second;
}

void Server::Open(const json& params) {
    const json& item = params.at("textDocument");
    const std::string uri = item.at("uri").get<std::string>();
    const std::string path = PathOfUri(uri).value_or(std::string());
    Document& document =
        mDocuments
            .insert_or_assign(uri, Document{uri, path, KindOfPath(path, mPlaces.table),
                                            DocumentText(item.at("text").get<std::string>())})
            .first->second;
    Publish(document);
}

void Server::Change(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    auto found = mDocuments.find(uri);
    const json& changes = params.at("contentChanges");
    if (found == mDocuments.end() || changes.empty())
        return;
    // Whole texts only, as the server asks for them.
    found->second.text = DocumentText(changes.back().at("text").get<std::string>());
    Publish(found->second);
}

void Server::Close(const json& params) {
    const std::string uri = params.at("textDocument").at("uri").get<std::string>();
    mDocuments.erase(uri);
    mWriter.Write({{"jsonrpc", "2.0"},
                   {"method", "textDocument/publishDiagnostics"},
                   {"params", {{"uri", uri}, {"diagnostics", json::array()}}}});
}

void Server::WatchedFilesChanged(const json& params) {
    bool records = false;
    for (const json& change : params.value("changes", json::array())) {
        const std::optional<std::string> path = PathOfUri(change.value("uri", std::string()));
        if (!path)
            continue;
        const DocumentKind kind = KindOfPath(*path, mPlaces.table);
        records = records || kind == DocumentKind::Dialogue || kind == DocumentKind::Quest;
        mDiskDocuments.erase(change.value("uri", std::string()));
    }
    if (records)
        StartIndexing();
}

void Server::Publish(const Document& document) {
    if (document.kind == DocumentKind::Other)
        return;
    mWriter.Write(
        {{"jsonrpc", "2.0"},
         {"method", "textDocument/publishDiagnostics"},
         {"params", {{"uri", document.uri}, {"diagnostics", Diagnostics(document, CurrentLibrary())}}}});
}

void Server::PublishAll() {
    for (const auto& [uri, document] : mDocuments)
        Publish(document);
}

} // namespace pw::lsp
