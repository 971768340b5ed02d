// plotwright-cli lsp: the language server over standard input and output.

#include "../CliSupport.h"
#include "../LibraryCommands.h"
#include "LspServer.h"

#include <cstdio>

namespace pw::cli {

int Lsp(const Args& args, const TextForm&) {
    const CommandArgs parsed = ParseArgs(args, {{"--stringtable", true}, {"--stdio"}});
    lsp::ServerOptions options;
    for (const auto& [name, value] : parsed.options)
        if (name == "--stringtable")
            options.table = value;
    options.roots = parsed.operands;
    lsp::Server server(stdin, stdout, std::move(options));
    return server.Run();
}

} // namespace pw::cli
