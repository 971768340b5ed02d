#include "InfoCommands.h"
#include "InfoPipeline.h"

#include "core/data/FileIO.h"
#include "core/data/MessageText.h"
#include "core/data/StringTable.h"
#include "core/dialogue/ConversationImport.h"
#include "core/strings/LanguageTable.h"

namespace pw::cli {
namespace {

// The IDs, UTF-8, separated by ", ".
std::string JoinedIds(const std::vector<std::string>& ids) {
    std::string joined;
    for (const std::string& id : ids)
        joined.append(joined.empty() ? "" : ", ").append(Cp1251ToUtf8(id));
    return joined;
}

// What the import made: each row with its number in the script (from 1), then each entry, as the table
// holds it; why an AI_Output line's ID was replaced goes to standard error.
void PrintImport(const ConversationPlan& plan, std::size_t firstRow, const TextForm& form) {
    std::string out;
    for (std::size_t i = 0; i < plan.lines.size(); ++i) {
        const ConversationLine& line = plan.lines[i];
        out += "row " + std::to_string(firstRow + i + 1) + ": Say " + line.party + " " +
               form.Printed(line.id) + "\n";
        if (!line.note.empty())
            WriteErrLine("note: строка " + std::to_string(line.line) + ": " + line.note + ", взят ID " +
                         Cp1251ToUtf8(line.id));
    }
    for (const ConversationLine& line : plan.lines)
        out += form.Printed(line.id + "=" + line.value) + "\n";
    WriteOut(out);
}

// The field of the table's values that the language given with --lang holds its text in.
std::size_t LanguageField(const std::string& table, const std::string& given, const TextForm& form) {
    const TableLayout layout = ReadTableLayout(table);
    if (layout.SingleLanguage())
        ThrowRefused(SingleLanguageMessage(table));
    const std::string name = form.Raw() ? Cp1251ToUtf8(given) : given;
    if (const TableLanguage* language = layout.languages.Find(name))
        return language->TextField();
    ThrowRefused(MissingLanguageMessage(table, name, layout.languages));
}

// Writes the entries into the table, then the dialogue, and never leaves the one without the other: both
// files are checked first, and should the dialogue's write still fail, the entries are taken back out of
// the table (those still as written) before the failure is told.
void WriteBoth(const std::string& infoPath, TInfo info, const TStringTable& table,
               const std::vector<std::pair<std::string, std::string>>& entries) {
    for (const std::string* path : {&table.Path(), &infoPath})
        if (const std::optional<std::string> problem = WriteProblem(*path))
            throw CliFailure(kExitFileError, UnableToWriteMessage(*path, *problem) + "\nНичего не записано.");
    // The table first: a dialogue is never left naming entries that were not written.
    if (const std::optional<std::string> held = table.AppendTableStrings(entries))
        ThrowRefused(FillMessage("ID %s уже есть в таблице строк: ничего не записано.", {*held}));
    try {
        info.WriteToFile(infoPath);
    } catch (const std::runtime_error& failure) {
        const std::vector<std::string> left = table.TakeBackTableStrings(entries);
        std::string told = std::string(failure.what()) + "\n";
        if (left.empty())
            told += "Записи, добавленные в таблицу строк, удалены из неё снова.";
        else
            told += "Записи добавлены в таблицу строк, но " + std::to_string(left.size()) +
                    " из них изменились с тех пор и оставлены в ней: " + JoinedIds(left) + ".";
        throw CliFailure(kExitFileError, told);
    }
}

} // namespace

int ImportConversation(const Args& arguments, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(arguments, {{"--prefix", true}, {"--lang", true}, {"--dry-run"}});
    const Args& a = parsed.operands;
    if (a.size() != 3)
        ThrowUsage("import-conversation takes INFO TABLE TEXTFILE [--prefix PREFIX] [--lang L] [--dry-run]");
    for (const std::string& path : a)
        RequireExistingFile(path);
    InfoRun run = LoadAndPrepare(a[0]);
    RefuseNonsense(run.read);
    for (const LoadNotice& notice : run.loaded.notices)
        WriteErrLine("warning: " + notice.text);
    InfoEditorModel& model = run.loaded.model;
    std::string prefix = model.NameEd;
    ConversationTable table = ReadConversationTable(a[1]);
    for (const auto& [name, value] : parsed.options) {
        if (name == "--prefix")
            prefix = form.RecordText(value, "PREFIX");
        if (name == "--lang")
            table.textField = LanguageField(a[1], value, form);
    }

    const ConversationPlan plan =
        PlanConversation(ReadWholeFile(a[2]).value_or(std::string()), model.OwnerCmb, prefix, table);
    if (!plan.refusal.empty())
        ThrowRefused(plan.refusal);
    const std::size_t firstRow = InsertConversationRows(
        model.CommandList, ConversationPlace(model.CommandList), ConversationRows(plan));
    const CompileOutcome compiled = PrepareCompile(model);
    if (compiled.Failed())
        ThrowRefused(compiled.message);
    if (!parsed.Has("--dry-run"))
        WriteBoth(a[0], compiled.info, TStringTable(a[1]), ConversationEntries(plan));
    PrintImport(plan, firstRow, form);
    return kExitOk;
}

} // namespace pw::cli
