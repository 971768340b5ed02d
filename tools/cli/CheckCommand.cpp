#include "CheckReport.h"
#include "InfoCommands.h"
#include "InfoPipeline.h"
#include "QuestCheck.h"
#include "ReferenceSets.h"
#include "TableLint.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/Library.h"
#include "data/MessageText.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"

#include <cerrno>
#include <optional>
#include <stdexcept>
#include <unordered_map>

namespace pw::cli {
namespace {

struct CheckOptions {
    std::string table;
    std::string quests;
    bool strict = false;
    bool verbose = false;
    Args paths;
};

CheckOptions ParseCheckOptions(const Args& args) {
    CheckOptions options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const bool takesValue = args[i] == "--stringtable" || args[i] == "--quests";
        if (takesValue && i + 1 >= args.size())
            ThrowUsage(args[i] + " takes a path");
        if (args[i] == "--stringtable")
            options.table = args[++i];
        else if (args[i] == "--quests")
            options.quests = args[++i];
        else if (args[i] == "--strict")
            options.strict = true;
        else if (args[i] == "--verbose")
            options.verbose = true;
        else
            options.paths.push_back(args[i]);
    }
    if (options.paths.empty() && options.table.empty())
        ThrowUsage("check takes at least one PATH, or --stringtable TABLE");
    return options;
}

// Without --verbose each kind of table finding is listed for this many lines, then summed up.
constexpr std::size_t kListedPerKind = 20;

bool IsQuestCommand(std::string_view command) {
    return AsciiEqualNoCase(command, "SucceedQuest") || AsciiEqualNoCase(command, "CloseQuest") ||
           AsciiEqualNoCase(command, "RunQuest");
}

class Checker {
public:
    Checker(const CheckOptions& options);
    int Run();

private:
    void LintTable(std::string_view bytes);
    void CheckFile(const std::string& path);
    void CheckInfoFile(FileReport& report);
    void CheckReferences(const InfoEditorModel& model, FileReport& report) const;
    void CheckQuest(std::string_view quest, FileReport& report) const;
    void CheckAcrossFiles();
    int Print();

    const CheckOptions& mOptions;
    std::optional<NameSet> mTableIds;
    std::optional<NameSet> mQuestNames;
    NameSet mDialogueNames;
    std::vector<FileReport> mReports;
};

Checker::Checker(const CheckOptions& options) : mOptions(options) {
    if (!options.table.empty()) {
        // Read once for both uses: the table's own lint and the IDs the files are checked against.
        std::string bytes = ReadTableBytes(options.table);
        LintTable(bytes);
        if (!options.paths.empty())
            mTableIds = TableIdsOf(std::move(bytes));
    }
    if (!options.quests.empty())
        mQuestNames = ReadQuestNames(options.quests);
}

void Checker::LintTable(std::string_view bytes) {
    FileReport& report = mReports.emplace_back();
    report.path = mOptions.table;
    std::size_t listed[kTableIssueCount] = {};
    std::size_t unlisted[kTableIssueCount] = {};
    for (TableFinding& finding : LintStringTable(bytes)) {
        const auto kind = static_cast<std::size_t>(finding.issue);
        if (mOptions.verbose || listed[kind] < kListedPerKind) {
            ++listed[kind];
            report.findings.push_back({false, std::move(finding.text), finding.line});
        } else {
            ++unlisted[kind];
        }
    }
    for (std::size_t kind = 0; kind < kTableIssueCount; ++kind) {
        if (unlisted[kind] == 0)
            continue;
        report.findings.push_back(
            {false, UnlistedTableFindings(static_cast<TableIssue>(kind), unlisted[kind])});
        report.unlistedWarnings += unlisted[kind] - 1; // the summing line counts as one
    }
}

void Checker::CheckQuest(std::string_view quest, FileReport& report) const {
    if (mQuestNames && !quest.empty() && !mQuestNames->Contains(quest))
        report.findings.push_back(
            {false, FillMessage("Квест %s отсутствует среди файлов квестов.", {quest})});
}

void Checker::CheckReferences(const InfoEditorModel& model, FileReport& report) const {
    CheckQuest(TrimView(model.QuestEd), report);
    for (const CommandRow& row : model.CommandList) {
        const std::string_view command = TrimView(row[0]);
        if (IsQuestCommand(command))
            CheckQuest(TrimView(row[3]), report);
        const std::string_view id = TrimView(row[5]);
        if (mTableIds && AsciiEqualNoCase(command, "Say") && !id.empty() && id != kEmptyPlaceholder &&
            !mTableIds->Contains(id))
            report.findings.push_back(
                {false, FillMessage("ID строки %s отсутствует в таблице строк.", {id})});
    }
}

void Checker::CheckInfoFile(FileReport& report) {
    const InfoRun run = LoadAndPrepare(report.path);
    if (!run.read.notRecord.empty()) {
        report.findings.push_back({true, run.read.notRecord});
        return;
    }
    for (const UnreadNumber& number : run.read.unreadNumbers)
        report.findings.push_back({false, UnreadNumberMessage(number)});
    for (const LoadNotice& notice : run.loaded.notices)
        report.findings.push_back({false, notice.text});
    if (!run.misaligned.empty())
        report.findings.push_back({false, run.misaligned});
    if (run.compiled.Failed())
        report.findings.push_back({true, run.compiled.message});
    CheckReferences(run.loaded.model, report);
    mDialogueNames.Add(TrimView(run.loaded.model.NameEd));
    report.parent = Trim(run.loaded.model.ParentEd);
}

void Checker::CheckFile(const std::string& path) {
    FileReport& report = mReports.emplace_back();
    report.path = path;
    try {
        if (HasExtension(path, ".quest"))
            CheckQuestFile(report, mTableIds ? &*mTableIds : nullptr);
        else
            CheckInfoFile(report);
    } catch (const std::runtime_error& e) {
        report.findings.push_back({true, e.what()});
    }
}

// The references that need every checked file first: parent dialogues, earlier quests, and quest
// names used twice.
void Checker::CheckAcrossFiles() {
    NameSet questNames;
    std::unordered_map<std::string_view, const std::string*, FoldedHash, FoldedEqual> firstQuestFile;
    for (const FileReport& report : mReports)
        if (!report.questName.empty())
            questNames.Add(report.questName);
    for (FileReport& report : mReports) {
        if (!report.parent.empty() && !mDialogueNames.Contains(report.parent))
            report.findings.push_back(
                {false, FillMessage("Родительский диалог %s отсутствует среди проверенных файлов.",
                                    {report.parent})});
        for (const std::string& quest : report.finishedQuests)
            if (!questNames.Contains(quest) && !(mQuestNames && mQuestNames->Contains(quest)))
                report.findings.push_back(
                    {false, FillMessage("Предыдущий квест %s отсутствует среди файлов квестов.", {quest})});
        if (report.questName.empty())
            continue;
        const auto [first, added] = firstQuestFile.try_emplace(report.questName, &report.path);
        if (!added)
            report.findings.push_back(
                {false, FillMessage("Квест с именем %s уже есть в файле ", {report.questName}) +
                            *first->second + "."});
    }
}

int Checker::Run() {
    for (const std::string& path : mOptions.paths) {
        if (DirectoryExists(path)) {
            std::vector<std::string> files;
            ScanLibraryFolder(path, files);
            for (const std::string& file : files)
                CheckFile(file);
        } else if (FileExists(path)) {
            CheckFile(path);
        } else {
            FileReport& report = mReports.emplace_back();
            report.path = path;
            report.findings.push_back({true, CannotOpenFileMessage(path, SystemErrorText(ENOENT))});
        }
    }
    CheckAcrossFiles();
    return Print();
}

int Checker::Print() {
    std::size_t errors = 0;
    std::size_t warnings = 0;
    std::string out;
    for (const FileReport& report : mReports) {
        warnings += report.unlistedWarnings;
        for (const Finding& finding : report.findings) {
            ++(finding.error ? errors : warnings);
            out += report.path;
            if (finding.line != 0)
                out += ':' + std::to_string(finding.line);
            out += finding.error ? ": error: " : ": warning: ";
            out += finding.text;
            out += '\n';
        }
    }
    out += "Файлов: " + std::to_string(mReports.size()) + ", ошибок: " + std::to_string(errors) +
           ", предупреждений: " + std::to_string(warnings) + "\n";
    WriteOut(out);
    return errors > 0 || (mOptions.strict && warnings > 0) ? kExitFindings : kExitOk;
}

} // namespace

int Check(const Args& args) {
    const CheckOptions options = ParseCheckOptions(args);
    return Checker(options).Run();
}

} // namespace pw::cli
