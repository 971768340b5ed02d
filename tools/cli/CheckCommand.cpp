#include "CheckOutput.h"
#include "CheckReport.h"
#include "core/strings/TableLint.h"
#include "FileCheck.h"
#include "InfoCommands.h"
#include "ReferenceSets.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/Library.h"
#include "core/data/MessageText.h"
#include "core/data/ParallelWork.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/strings/LanguageTable.h"

#include <array>
#include <cerrno>
#include <deque>
#include <exception>
#include <optional>
#include <stdexcept>
#include <thread>
#include <unordered_map>

namespace pw::cli {
namespace {

struct CheckOptions {
    std::string table;
    std::string language; // --require-language, UTF-8
    std::string quests;
    bool strict = false;
    bool verbose = false;
    bool events = false;
    CheckFormat format = CheckFormat::Text;
    Args paths;
};

CheckFormat FormatNamed(const std::string& name) {
    if (name == "text")
        return CheckFormat::Text;
    if (name == "json")
        return CheckFormat::Json;
    if (name == "sarif")
        return CheckFormat::Sarif;
    ThrowUsage("--format takes text, json or sarif");
}

CheckOptions ParseCheckOptions(const Args& args) {
    const CommandArgs parsed = ParseArgs(args, {{"--stringtable", true},
                                                {"--require-language", true},
                                                {"--quests", true},
                                                {"--strict"},
                                                {"--verbose"},
                                                {"--events"},
                                                {"--format", true}});
    CheckOptions options;
    for (const auto& [name, value] : parsed.options) {
        if (name == "--stringtable")
            options.table = value;
        else if (name == "--quests")
            options.quests = value;
        else if (name == "--format")
            options.format = FormatNamed(value);
        else if (name == "--require-language")
            options.language = value;
        options.strict = options.strict || name == "--strict";
        options.verbose = options.verbose || name == "--verbose";
        options.events = options.events || name == "--events";
    }
    options.paths = parsed.operands;
    if (options.paths.empty() && options.table.empty())
        ThrowUsage("check takes at least one PATH, or --stringtable TABLE");
    if (!options.language.empty() && options.table.empty())
        ThrowUsage("--require-language needs --stringtable TABLE");
    return options;
}

// Without --verbose each kind of table finding is listed for this many lines, then summed up.
constexpr std::size_t kListedPerKind = 20;

// The table's kinds of finding among check's, in the order of TableFindingKind.
FindingKind KindOf(TableFindingKind kind) {
    return static_cast<FindingKind>(static_cast<std::size_t>(FindingKind::RepeatedId) +
                                    static_cast<std::size_t>(kind));
}

// The report of a file of folder, read into bytes (the storage of its thread); the report takes the path.
FileReport CheckFile(const FolderReader& folder, std::string&& path, std::string& bytes,
                     const FileCheckOptions& options) {
    try {
        if (!folder.ReadWholeFile(path, bytes))
            return FileErrorReport(path, CannotOpenFileMessage(path, SystemErrorText(ENOENT)));
    } catch (const std::runtime_error& e) {
        return FileErrorReport(path, e.what());
    }
    const RecordKind kind = RecordKindOfPath(path);
    return CheckRecordText(std::move(path), kind, bytes, options);
}

class Checker {
public:
    explicit Checker(CheckOptions options) : mOptions(std::move(options)) {}
    int Run();

private:
    void LintTable(FileReport& report);
    void RequireLanguage();
    void ReadUntranslated();
    void CheckFiles();
    // Whether string IDs are looked up: a table is given, and files to check.
    bool LooksUpIds() const { return !mOptions.table.empty() && !mOptions.paths.empty(); }
    void ResolveReferences(FileReport& report, const NameSet& checkedQuests) const;
    bool IsQuest(std::string_view name, const NameSet& checkedQuests) const;
    void CheckAcrossFiles();
    int Print() const;

    const CheckOptions mOptions;
    std::optional<NameSet> mTableIds;
    // With --require-language: the language's column, and the IDs (Windows-1251) whose cell of it is not
    // translated, with the cell's state.
    std::optional<TableLanguage> mLanguage;
    std::unordered_map<std::string, CellState, FoldedHash, FoldedEqual> mUntranslated;
    std::optional<NameSet> mQuestNames;
    // The reports of each run of one folder's files, made on a work thread; the deque keeps each run in
    // its place as runs are added, and each run's reports where they were made.
    std::deque<std::vector<FileReport>> mRuns;
    FileReport mTableReport;
    ReportList mReports; // the table's report first, then the files' in the order of the paths and scans
};

// The table is read once, in blocks: its findings are listed as they come, and only its IDs are kept.
void Checker::LintTable(FileReport& report) {
    std::size_t listed[kTableFindingKinds] = {};
    std::size_t unlisted[kTableFindingKinds] = {};
    NameSet ids = ReadStringTable(mOptions.table, [&](TableFinding&& finding) {
        const auto kind = static_cast<std::size_t>(finding.kind);
        if (mOptions.verbose || listed[kind] < kListedPerKind) {
            ++listed[kind];
            report.findings.push_back({KindOf(finding.kind), std::move(finding.text), finding.line});
        } else {
            ++unlisted[kind];
        }
    });
    if (LooksUpIds())
        mTableIds = std::move(ids);
    if (mLanguage)
        ReadUntranslated();
    for (std::size_t kind = 0; kind < kTableFindingKinds; ++kind) {
        if (unlisted[kind] == 0)
            continue;
        const auto tableKind = static_cast<TableFindingKind>(kind);
        report.findings.push_back({KindOf(tableKind), UnlistedTableFindings(tableKind, unlisted[kind])});
        report.unlistedWarnings += unlisted[kind] - 1; // the summing line counts as one
    }
}

// The language of --require-language among the table's columns, known before anything is read; a table of
// one language is said to be so and not judged by its languages.
void Checker::RequireLanguage() {
    if (mOptions.language.empty() || !LooksUpIds())
        return;
    const TableLayout layout = ReadTableLayout(mOptions.table);
    if (layout.SingleLanguage()) {
        WriteErrLine(SingleLanguageMessage(mOptions.table));
        return;
    }
    const TableLanguage* language = layout.languages.Find(mOptions.language);
    if (!language)
        ThrowRefused(MissingLanguageMessage(mOptions.table, mOptions.language, layout.languages));
    mLanguage = *language;
}

void Checker::ReadUntranslated() {
    const LanguageTable table = LanguageTable::Read(mOptions.table);
    const TableLanguages& languages = table.Layout().languages;
    const TableLanguage& language = languages.All()[static_cast<std::size_t>(mLanguage->column - 1)];
    std::string buffer;
    for (std::size_t i = 0; i < table.Size(); ++i) {
        const CellState state = StateOf(table.ValueText(i, buffer), language, languages);
        if (state == CellState::Translated)
            continue;
        if (std::optional<std::string> id = Utf8ToCp1251Exact(table.Id(i)))
            mUntranslated.emplace(std::move(*id), state);
    }
}

// A quest is looked for among the checked files and in the quest tree of --quests.
bool Checker::IsQuest(std::string_view name, const NameSet& checkedQuests) const {
    return checkedQuests.Contains(name) || (mQuestNames && mQuestNames->Contains(name));
}

void Checker::ResolveReferences(FileReport& report, const NameSet& checkedQuests) const {
    for (const Reference& reference : report.references) {
        if (reference.kind == Reference::Kind::Quest && !IsQuest(reference.name, checkedQuests))
            report.findings.push_back(MissingQuestFinding(reference));
        if (reference.kind == Reference::Kind::StringId && mTableIds && !mTableIds->Contains(reference.name))
            report.findings.push_back(MissingStringFinding(reference));
        if (reference.kind == Reference::Kind::StringId && mLanguage)
            if (const auto found = mUntranslated.find(reference.name); found != mUntranslated.end())
                report.findings.push_back(UntranslatedStringFinding(reference, *mLanguage, found->second));
    }
    report.references = {};
}

// A report for every file to check, in the order of the paths given and of the library scan. A path that
// names nothing is a file error before anything is read; a folder without a dialogue or quest is told.
// The files of each folder are checked on the work threads as soon as the scan has listed them, each
// folder's read within the folder, which costs the system less than a path each.
void Checker::CheckFiles() {
    for (const std::string& path : mOptions.paths)
        if (!PathExists(path))
            throw CliFailure(kExitFileError, "Нет такого файла или папки: " + path);
    const FileCheckOptions fileOptions{LooksUpIds(), mOptions.events};
    WorkQueue queue;
    const auto check = [&](std::vector<std::string>&& files) {
        std::vector<FileReport>& reports = mRuns.emplace_back();
        queue.Add([&reports, &fileOptions, files = std::move(files)]() mutable {
            const FolderReader folder(std::string(FolderPart(files.front())));
            std::string bytes;
            reports.reserve(files.size());
            for (std::string& file : files)
                reports.push_back(CheckFile(folder, std::move(file), bytes, fileOptions));
        });
    };
    for (const std::string& path : mOptions.paths) {
        if (!DirectoryExists(path)) {
            check({path});
            continue;
        }
        const std::size_t before = mRuns.size();
        ScanLibraryFolder(path, check);
        if (mRuns.size() == before)
            WriteErrLine("В папке " + path + " нет ни диалогов (.info), ни квестов (.quest)");
    }
    queue.Finish();
    std::size_t count = mReports.size();
    for (const std::vector<FileReport>& run : mRuns)
        count += run.size();
    mReports.reserve(count);
    for (std::vector<FileReport>& run : mRuns)
        for (FileReport& report : run)
            mReports.push_back(&report);
}

// The references that need every checked file first: quests, parent dialogues, events, earlier quests,
// and quest names used twice.
void Checker::CheckAcrossFiles() {
    // The names of the checked dialogues and the events they set, in two halves built side by side (a name
    // is looked for in both): one set of every name would be the longest step after the files' checks.
    std::array<NameSet, 2> dialogueNames;
    std::array<NameSet, 2> setEvents;
    const std::size_t half = mReports.size() / 2;
    ParallelFor(2, [&](std::size_t part) {
        const std::size_t begin = part == 0 ? 0 : half;
        const std::size_t end = part == 0 ? half : mReports.size();
        // Most files checked are dialogues: room for a name each (of a typical length) saves growing the set.
        dialogueNames[part].Reserve(end - begin, (end - begin) * 24);
        for (std::size_t i = begin; i < end; ++i) {
            if (!mReports[i]->dialogueName.empty())
                dialogueNames[part].Add(mReports[i]->dialogueName);
            for (const std::string& event : mReports[i]->setEvents)
                setEvents[part].Add(event);
        }
    });
    const auto inEither = [](const std::array<NameSet, 2>& sets, std::string_view name) {
        return sets[0].Contains(name) || sets[1].Contains(name);
    };
    NameSet questNames;
    // For each quest file whose name an earlier one has, that file; in the order of the paths.
    std::vector<const std::string*> duplicateOf(mReports.size());
    std::unordered_map<std::string_view, const std::string*, FoldedHash, FoldedEqual> firstQuestFile;
    for (std::size_t i = 0; i < mReports.size(); ++i) {
        const FileReport& report = *mReports[i];
        if (report.questName.empty())
            continue;
        questNames.Add(report.questName);
        const auto [first, added] = firstQuestFile.try_emplace(report.questName, &report.path);
        if (!added)
            duplicateOf[i] = first->second;
    }
    // The look-ups read the sets only, so the reports are completed on all processors.
    ParallelFor(mReports.size(), [&](std::size_t i) {
        FileReport& report = *mReports[i];
        ResolveReferences(report, questNames);
        if (!report.parent.empty() && !inEither(dialogueNames, report.parent))
            report.findings.push_back(MissingParentFinding(report.parent, report.parentLine));
        if (!report.playerKnows.empty() && !inEither(setEvents, report.playerKnows))
            report.findings.push_back({FindingKind::UnsetEvent,
                                       FillMessage("Событие %s не задаётся командой SetGameEvent ни в одном "
                                                   "из проверенных диалогов.",
                                                   {report.playerKnows}),
                                       report.playerKnowsLine, "CondPlayerKnows"});
        for (const std::string& quest : report.finishedQuests)
            if (!IsQuest(quest, questNames))
                report.findings.push_back(MissingEarlierQuestFinding(quest, report.finishedQuestsLine));
        if (duplicateOf[i])
            report.findings.push_back(
                DuplicateQuestFinding(report.questName, *duplicateOf[i], report.nameLine));
        DropRepeatedFindings(report);
    });
}

int Checker::Run() {
    RequireLanguage();
    // The table is read on a thread of its own from the start, beside the scans of the folders and the
    // checks of the files: its IDs are needed only for the references, looked up once every file is read.
    mTableReport.path = mOptions.table;
    std::exception_ptr tableFailure;
    {
        std::jthread tableReader;
        if (!mOptions.table.empty())
            tableReader = std::jthread([this, &tableFailure] {
                try {
                    LintTable(mTableReport);
                } catch (...) {
                    tableFailure = std::current_exception();
                }
            });
        if (!mOptions.quests.empty())
            mQuestNames = ReadQuestNames(mOptions.quests);
        CheckFiles();
    }
    if (tableFailure)
        std::rethrow_exception(tableFailure);
    // Every report has its own place, so they are printed in the order of the paths, the table first,
    // whatever order they were done in.
    if (!mOptions.table.empty())
        mReports.insert(mReports.begin(), &mTableReport);
    CheckAcrossFiles();
    return Print();
}

int Checker::Print() const {
    std::size_t errors = 0;
    std::size_t warnings = 0;
    for (const FileReport* report : mReports) {
        warnings += report->unlistedWarnings;
        for (const Finding& finding : report->findings)
            ++(finding.Error() ? errors : warnings);
    }
    PrintFindings(mReports, mOptions.format, errors, warnings);
    return errors > 0 || (mOptions.strict && warnings > 0) ? kExitFindings : kExitOk;
}

} // namespace

int Check(const Args& args, const TextForm&) {
    // The process ends with the check, so the checker is not freed: its reports, a few allocations for
    // each of tens of thousands of files, go back to the system at once rather than one by one (a
    // twentieth of the time of a library's check).
    return (new Checker(ParseCheckOptions(args)))->Run();
}

} // namespace pw::cli
