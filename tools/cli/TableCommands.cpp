#include "TableCommands.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Platform.h"
#include "core/data/ProfileIni.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"

namespace pw::cli {
namespace {

// Whether the file at path starts with the UTF-16LE byte-order mark; false when it cannot be read.
bool IsUtf16File(const std::string& path) {
    BlockReader reader(64);
    return reader.Open(path) && reader.ReadMore() && reader.Data().substr(0, 2) == "\xFF\xFE";
}

// In a UTF-16 file names are compared in Windows-1251 and values are UTF-8 text, so what cannot be held
// so is refused before the file is touched. An 8-bit file takes the arguments in the system's code page:
// their bytes as they are on POSIX systems; on Windows, what the ANSI code page cannot spell is refused.
void RequireIniText(const std::string& path, const Args& names, const std::string* value,
                    const TextForm& form) {
    if (form.Raw())
        return;
    if (!IsUtf16File(path)) {
        static constexpr std::string_view kArguments[] = {"SECTION", "KEY", "VALUE"};
        std::vector<std::string> texts(names.begin(), names.end());
        if (value)
            texts.push_back(*value);
        for (std::size_t i = 0; i < texts.size(); ++i)
            if (!platform::Utf8ToSystemCodePage(texts[i]))
                ThrowRefused(std::string(kArguments[i]) +
                             ": в тексте есть символы, которых нет в кодовой странице системы");
        return;
    }
    static constexpr std::string_view kNames[] = {"SECTION", "KEY"};
    for (std::size_t i = 0; i < names.size(); ++i)
        (void)form.RecordText(names[i], kNames[i]);
    if (value)
        form.RequireText(*value, "VALUE");
}

} // namespace

int IniGet(const Args& args, const TextForm& form) {
    const Args a = ParseArgs(args, {}).operands;
    if (a.size() != 3 && a.size() != 4)
        ThrowUsage("ini-get takes FILE SECTION KEY [DEFAULT]");
    const std::string defaultValue = a.size() == 4 ? a[3] : std::string();
    RequireRegularIfPresent(a[0]);
    RequireIniText(a[0], {a[1], a[2]}, a.size() == 4 ? &a[3] : nullptr, form);
    std::string value = ProfileGetString(a[0], a[1], a[2], defaultValue, form.IniForm());
    value += '\n';
    WriteOut(value);
    return kExitOk;
}

int IniSet(const Args& args, const TextForm& form) {
    const Args a = ParseArgs(args, {}).operands;
    if (a.size() != 4)
        ThrowUsage("ini-set takes FILE SECTION KEY VALUE");
    RequireOneLine("SECTION", a[1]);
    RequireOneLine("KEY", a[2]);
    RequireOneLine("VALUE", a[3]);
    if (std::optional<std::string> problem = ProfileWriteProblem(a[1], a[2], a[3], form.IniForm()))
        ThrowRefused(*problem);
    RequireIniText(a[0], {a[1], a[2]}, &a[3], form);
    std::string reason;
    if (!ProfileWriteString(a[0], a[1], a[2], a[3], &reason, form.IniForm()))
        throw CliFailure(kExitFileError, UnableToWriteMessage(a[0], reason));
    return kExitOk;
}

int StringGet(const Args& args, const TextForm& form) {
    const Args a = ParseArgs(args, {}).operands;
    if (a.size() != 2)
        ThrowUsage("string-get takes TABLE ID");
    RequireExistingFile(a[0]);
    const std::string& id = a[1];
    (void)form.RecordText(id, "ID"); // IDs are compared in Windows-1251
    // As a hint field: no text for the placeholder or a blank ID.
    if (id == kEmptyPlaceholder || TrimView(id).empty()) {
        WriteOut("\n");
        return kExitOk;
    }
    const std::optional<std::string> value = TStringTable(a[0]).FindTableString(id, form.TableForm());
    WriteOut(value.value_or(std::string(kDialogNotFound)) + "\n");
    return value ? kExitOk : kExitNotFound;
}

int StringAdd(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--replace"}});
    const Args& a = parsed.operands;
    if (a.size() != 3)
        ThrowUsage("string-add takes TABLE ID TEXT [--replace]");
    RequireOneLine("ID", a[1]);
    RequireOneLine("TEXT", a[2]);
    (void)form.RecordText(a[1], "ID");
    form.RequireText(a[2], "TEXT");
    const auto result =
        TStringTable(a[0]).AddTableString(a[1], a[2], parsed.Has("--replace"), form.TableForm());
    switch (result.status) {
    case TStringTable::AddStatus::EmptyId:
        ThrowRefused(EmptyIdMessage());
    case TStringTable::AddStatus::InvalidId:
        ThrowRefused(result.problem);
    case TStringTable::AddStatus::NotInCodePage:
        // The ID was taken above, so it is the text that an 8-bit table cannot hold.
        throw CliFailure(kExitRefused, CodePageProblem(a[2], "TEXT"));
    case TStringTable::AddStatus::NeedsConfirmation: {
        // Both texts are spelled as the arguments are: Windows-1251 with --raw, otherwise UTF-8.
        const auto utf8 = [&form](const std::string& text) { return form.Raw() ? Cp1251ToUtf8(text) : text; };
        ThrowRefused(DuplicateEntryMessage(utf8(result.existingValue), utf8(a[2])));
    }
    case TStringTable::AddStatus::Written:
        break;
    }
    return kExitOk;
}

} // namespace pw::cli
