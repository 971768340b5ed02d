#pragma once
// The language server's framing: JSON-RPC messages over a byte stream, each a header with its
// Content-Length, an empty line and the body, as the protocol frames them over standard input and output.

#include <nlohmann/json.hpp>

#include <cstdio>
#include <mutex>
#include <optional>
#include <string>

namespace pw::lsp {

// The body of the next message of in; std::nullopt at the end of the input or after a header without a
// length, after which nothing more can be read in step.
std::optional<std::string> ReadMessage(std::FILE* in);

// Writes whole messages to out, one at a time from any thread.
class MessageWriter {
public:
    explicit MessageWriter(std::FILE* out) : mOut(out) {}
    void Write(const nlohmann::json& message);

private:
    std::FILE* mOut;
    std::mutex mLock;
};

} // namespace pw::lsp
