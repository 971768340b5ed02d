#include "TableCommands.h"

#include "data/FileIO.h"
#include "data/ProfileIni.h"
#include "data/StringTable.h"

namespace pw::cli {

int IniGet(const Args& args) {
    if (args.size() != 3 && args.size() != 4)
        ThrowUsage("ini-get takes FILE SECTION KEY [DEFAULT]");
    const std::string defaultValue = args.size() == 4 ? args[3] : std::string();
    RequireRegularIfPresent(args[0]);
    std::string value = ProfileGetString(args[0], args[1], args[2], defaultValue);
    value += '\n';
    WriteOut(value);
    return kExitOk;
}

int IniSet(const Args& args) {
    if (args.size() != 4)
        ThrowUsage("ini-set takes FILE SECTION KEY VALUE");
    RequireOneLine("SECTION", args[1]);
    RequireOneLine("KEY", args[2]);
    RequireOneLine("VALUE", args[3]);
    if (std::optional<std::string> problem = ProfileWriteProblem(args[1], args[2], args[3]))
        ThrowRefused(*problem);
    std::string reason;
    if (!ProfileWriteString(args[0], args[1], args[2], args[3], &reason))
        throw CliFailure(kExitFileError, UnableToWriteMessage(args[0], reason));
    return kExitOk;
}

int StringGet(const Args& args) {
    if (args.size() != 2)
        ThrowUsage("string-get takes TABLE ID");
    RequireExistingFile(args[0]);
    std::string value = TStringTable(args[0]).LookupTableString(args[1]);
    value += '\n';
    WriteOut(value);
    return kExitOk;
}

int StringAdd(const Args& args) {
    Args positional;
    bool replace = false;
    for (const std::string& arg : args) {
        if (arg == "--replace")
            replace = true;
        else
            positional.push_back(arg);
    }
    if (positional.size() != 3)
        ThrowUsage("string-add takes TABLE ID TEXT [--replace]");
    RequireOneLine("ID", positional[1]);
    RequireOneLine("TEXT", positional[2]);
    const auto result = TStringTable(positional[0]).AddTableString(positional[1], positional[2], replace);
    switch (result.status) {
    case TStringTable::AddStatus::EmptyId:
        ThrowRefused(EmptyIdMessage());
    case TStringTable::AddStatus::InvalidId:
        ThrowRefused(result.problem);
    case TStringTable::AddStatus::NeedsConfirmation:
        ThrowRefused(DuplicateEntryMessage(result.existingValue, positional[2]));
    case TStringTable::AddStatus::Written:
        break;
    }
    return kExitOk;
}

} // namespace pw::cli
