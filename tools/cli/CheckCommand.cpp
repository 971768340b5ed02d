#include "InfoCommands.h"
#include "InfoPipeline.h"
#include "ReferenceSets.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/Library.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"

#include <cerrno>
#include <optional>

namespace pw::cli {
namespace {

struct CheckOptions {
    std::string table;
    std::string quests;
    bool strict = false;
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
        else
            options.paths.push_back(args[i]);
    }
    if (options.paths.empty())
        ThrowUsage("check takes at least one PATH");
    return options;
}

bool HasInfoExtension(const std::string& path) {
    static constexpr std::string_view kExtension = ".info";
    return path.size() >= kExtension.size() &&
           AsciiEqualNoCase(std::string_view(path).substr(path.size() - kExtension.size()), kExtension);
}

struct Finding {
    bool error = false;
    std::string text; // UTF-8
};

struct FileReport {
    std::string path;
    std::vector<Finding> findings;
    std::string parent; // checked once every dialogue name is known
};

// "%s" of a message filled with a Windows-1251 value, the result in UTF-8.
std::string Fill(std::string_view utf8Format, std::string_view cp1251Value) {
    std::string text(utf8Format);
    text.replace(text.find("%s"), 2, Cp1251ToUtf8(cp1251Value));
    return text;
}

bool IsQuestCommand(std::string_view command) {
    return AsciiEqualNoCase(command, "SucceedQuest") || AsciiEqualNoCase(command, "CloseQuest") ||
           AsciiEqualNoCase(command, "RunQuest");
}

class Checker {
public:
    Checker(const CheckOptions& options);
    int Run();

private:
    void CheckFile(const std::string& path);
    void CheckReferences(const InfoEditorModel& model, FileReport& report) const;
    void CheckQuest(std::string_view quest, FileReport& report) const;
    int Print();

    const CheckOptions& mOptions;
    std::optional<NameSet> mTableIds;
    std::optional<NameSet> mQuestNames;
    NameSet mDialogueNames;
    std::vector<FileReport> mReports;
};

Checker::Checker(const CheckOptions& options) : mOptions(options) {
    if (!options.table.empty())
        mTableIds = ReadTableIds(options.table);
    if (!options.quests.empty())
        mQuestNames = ReadQuestNames(options.quests);
}

void Checker::CheckQuest(std::string_view quest, FileReport& report) const {
    if (mQuestNames && !quest.empty() && !mQuestNames->Contains(quest))
        report.findings.push_back({false, Fill("Квест %s отсутствует среди файлов квестов.", quest)});
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
            report.findings.push_back({false, Fill("ID строки %s отсутствует в таблице строк.", id)});
    }
}

void Checker::CheckFile(const std::string& path) {
    FileReport& report = mReports.emplace_back();
    report.path = path;
    try {
        const InfoRun run = LoadAndPrepare(path);
        for (const LoadNotice& notice : run.loaded.notices)
            report.findings.push_back({false, Cp1251ToUtf8(notice.text)});
        if (run.compiled.Failed())
            report.findings.push_back({true, Cp1251ToUtf8(run.compiled.message)});
        CheckReferences(run.loaded.model, report);
        mDialogueNames.Add(TrimView(run.loaded.model.NameEd));
        report.parent = Trim(run.loaded.model.ParentEd);
    } catch (const std::runtime_error& e) {
        report.findings.push_back({true, e.what()});
    }
}

int Checker::Run() {
    for (const std::string& path : mOptions.paths) {
        if (DirectoryExists(path)) {
            std::vector<std::string> files;
            ScanLibraryFolder(path, files);
            for (const std::string& file : files) {
                if (HasInfoExtension(file))
                    CheckFile(file);
            }
        } else if (FileExists(path)) {
            CheckFile(path);
        } else {
            mReports.push_back({path, {{true, CannotOpenFileMessage(path, SystemErrorText(ENOENT))}}, {}});
        }
    }
    for (FileReport& report : mReports) {
        if (!report.parent.empty() && !mDialogueNames.Contains(report.parent))
            report.findings.push_back(
                {false, Fill("Родительский диалог %s отсутствует среди проверенных файлов.", report.parent)});
    }
    return Print();
}

int Checker::Print() {
    std::size_t errors = 0;
    std::size_t warnings = 0;
    std::string out;
    for (const FileReport& report : mReports) {
        for (const Finding& finding : report.findings) {
            ++(finding.error ? errors : warnings);
            out += report.path;
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
