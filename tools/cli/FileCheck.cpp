#include "FileCheck.h"

#include "CliSupport.h"
#include "InfoPipeline.h"
#include "QuestPipeline.h"

#include "core/data/ReadReport.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/quest/QuestEditorModel.h"

#include <unordered_set>

namespace pw::cli {
namespace {

bool IsQuestCommand(std::string_view command) {
    return AsciiEqualNoCase(command, "SucceedQuest") || AsciiEqualNoCase(command, "CloseQuest") ||
           AsciiEqualNoCase(command, "RunQuest");
}

void Add(FileReport& report, const RecordReadReport& read, FindingKind kind, std::string text,
         std::string_view key) {
    report.findings.push_back({kind, std::move(text), read.LineOf(key)});
}

// The quests a dialogue names, the string IDs it names when they are looked up, each with the line of the
// list that names it, in the order of their findings; with events, the events its SetGameEvent rows set.
void AddReferences(const InfoEditorModel& model, const RecordReadReport& read,
                   const FileCheckOptions& options, FileReport& report) {
    const auto refer = [&](Reference::Kind kind, std::string_view name, std::string_view key) {
        if (!name.empty())
            report.references.push_back({kind, std::string(name), {}, read.LineOf(key)});
    };
    refer(Reference::Kind::Quest, TrimView(model.QuestEd), "Quest");
    for (const CommandRow& row : model.CommandList) {
        const std::string_view command = TrimView(row[0]);
        if (IsQuestCommand(command))
            refer(Reference::Kind::Quest, TrimView(row[3]), "InfoScript_IDs1");
        if (options.events && AsciiEqualNoCase(command, "SetGameEvent") && !TrimView(row[3]).empty())
            report.setEvents.emplace_back(TrimView(row[3]));
        const std::string_view id = TrimView(row[5]);
        if (options.lookUpIds && AsciiEqualNoCase(command, "Say") && id != kEmptyPlaceholder)
            refer(Reference::Kind::StringId, id, "InfoScript_Texts");
    }
}

void CheckInfoFile(std::string_view bytes, const FileCheckOptions& options, FileReport& report) {
    const InfoRun run = LoadAndCheck(bytes);
    const RecordReadReport& read = run.read;
    if (!read.notRecord.empty()) {
        report.findings.push_back({FindingKind::NotARecord, read.notRecord});
        return;
    }
    for (const UnreadNumber& number : read.unreadNumbers)
        Add(report, read, FindingKind::UnreadNumber, UnreadNumberMessage(number), number.key);
    for (const LoadNotice& notice : run.loaded.notices)
        Add(report, read, FindingKind::LoadNotice, notice.text, notice.key);
    if (!run.misaligned.text.empty())
        Add(report, read, FindingKind::MisalignedLists, run.misaligned.text, run.misaligned.key);
    if (run.compiled.Failed())
        Add(report, read, FindingKind::CompileError, run.compiled.message, run.compiled.key);
    const InfoEditorModel& model = run.loaded.model;
    AddReferences(model, read, options, report);
    report.dialogueName = Trim(model.NameEd);
    report.parent = Trim(model.ParentEd);
    report.parentLine = read.LineOf("Parent");
    if (options.events) {
        report.playerKnows = Trim(model.CondPlayerKnowsEd);
        report.playerKnowsLine = read.LineOf("CondPlayerKnows");
    }
}

void AddTableId(std::string_view key, const std::string& id, const RecordReadReport& read,
                FileReport& report) {
    const std::string_view trimmed = TrimView(id);
    if (!trimmed.empty() && trimmed != kEmptyPlaceholder)
        report.references.push_back(
            {Reference::Kind::StringId, std::string(trimmed), std::string(key), read.LineOf(key)});
}

void CheckQuestFile(std::string_view bytes, const FileCheckOptions& options, FileReport& report) {
    const QuestRun run = LoadAndFillQuestText(bytes);
    const RecordReadReport& read = run.read;
    if (!read.notRecord.empty()) {
        report.findings.push_back({FindingKind::NotARecord, read.notRecord});
        return;
    }
    if (run.compiled.Failed())
        Add(report, read, FindingKind::CompileError, run.compiled.message, run.compiled.key);
    // A number the reader cannot read becomes 0 (-1 for the optional two) without a word; the game then
    // gets a value nobody wrote.
    for (const UnreadNumber& number : read.unreadNumbers)
        Add(report, read, FindingKind::UnreadNumber, UnreadNumberMessage(number), number.key);
    const TQuest& quest = run.loaded;
    // -1 is what the editor itself writes for no type, so only other values outside the list are told.
    if (run.model.QuestTypeCMB < 0 && quest.Type != -1)
        Add(report, read, FindingKind::QuestType,
            "Тип квеста " + std::to_string(quest.Type) + " вне списка 0–" +
                std::to_string(QuestTypes().size() - 1) + ": редактор запишет -1.",
            "Type");
    if (options.lookUpIds) {
        AddTableId("LogTopic", quest.LogTopic, read, report);
        AddTableId("LogText", quest.LogText, read, report);
    }
    report.questName = quest.Name;
    report.nameLine = read.LineOf("Name");
    report.finishedQuests = SplitQuestNames(quest.FinishedQuests);
    report.finishedQuestsLine = read.LineOf("FinishedQuests");
}

} // namespace

FileReport CheckRecordText(const std::string& path, std::string_view bytes, const FileCheckOptions& options) {
    FileReport report;
    report.path = path;
    if (HasExtension(path, ".quest"))
        CheckQuestFile(bytes, options, report);
    else
        CheckInfoFile(bytes, options, report);
    return report;
}

FileReport FileErrorReport(const std::string& path, std::string message) {
    FileReport report;
    report.path = path;
    report.findings.push_back({FindingKind::FileError, std::move(message)});
    return report;
}

void DropRepeatedFindings(FileReport& report) {
    if (report.findings.size() < 2)
        return;
    std::unordered_set<std::string> seen;
    std::vector<Finding> kept;
    for (Finding& finding : report.findings) {
        std::string key = std::to_string(finding.line) + '\n' +
                          std::to_string(static_cast<int>(finding.kind)) + '\n' + finding.text;
        if (seen.insert(std::move(key)).second)
            kept.push_back(std::move(finding));
    }
    report.findings = std::move(kept);
}

} // namespace pw::cli
