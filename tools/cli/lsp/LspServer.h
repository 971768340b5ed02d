#pragma once
// The language server: reads JSON-RPC messages on one thread, answers them in order on another, and
// indexes the library on a third, so that a request waiting for the index never holds up the reading.

#include "LspFeatures.h"
#include "LspTransport.h"

#include <condition_variable>
#include <cstdio>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace pw::lsp {

// Where the library comes from when the command line names it; the client's initialization options and
// workspace folders are asked otherwise.
struct ServerOptions {
    std::vector<std::string> roots;
    std::string table;
};

class Server {
public:
    Server(std::FILE* in, std::FILE* out, ServerOptions options);
    ~Server();
    Server(const Server&) = delete;
    Server& operator=(const Server&) = delete;

    // Serves until the client says exit or the input ends: 0 after a shutdown request, 1 without one.
    int Run();

private:
    using json = nlohmann::json;

    void Work();
    void Handle(const json& message);
    json Answer(const std::string& method, const json& params);
    void Notify(const std::string& method, const json& params);
    json Initialize(const json& params);
    void TakeSettings(const json& params);

    // The library of the newest build, waiting for the first one; the table read again when its file changed.
    Library CurrentLibrary();
    void StartIndexing();
    void Index();
    void Progress(const json& value);

    void Open(const json& params);
    void Change(const json& params);
    void Close(const json& params);
    void WatchedFilesChanged(const json& params);
    void Publish(const Document& document);
    void PublishAll();
    const Document& DocumentOf(const json& params);

    std::FILE* mIn;
    MessageWriter mWriter;
    ServerOptions mOptions;
    LibraryPlaces mPlaces;
    std::string mLanguage;        // the client's language option (UTF-8), chosen among the table's columns
    std::string mLanguageProblem; // what was said of it last, so that a rebuild does not say it again
    bool mProgressAllowed = false;
    bool mShutDown = false;
    bool mInitialized = false;
    int mNextRequest = 1;

    std::map<std::string, Document> mDocuments; // open ones by URI; the worker's only
    // Files read from disk for a request, by URI, with the size and time they were read at.
    std::map<std::string, std::pair<std::pair<std::uintmax_t, std::int64_t>, Document>> mDiskDocuments;

    std::mutex mQueueLock;
    std::condition_variable mQueued;
    std::deque<std::optional<json>> mQueue; // std::nullopt: the input ended
    std::thread mWorker;

    std::mutex mLibraryLock;
    std::condition_variable mBuilt;
    std::optional<Library> mLibrary;
    bool mBuilding = false;
    bool mBuildAgain = false;
    std::thread mIndexer;
};

} // namespace pw::lsp
