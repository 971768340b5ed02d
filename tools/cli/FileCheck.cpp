#include "FileCheck.h"

#include "CliSupport.h"
#include "InfoPipeline.h"
#include "QuestPipeline.h"

#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/NamePlaces.h"
#include "core/quest/QuestEditorModel.h"

#include <unordered_set>

namespace pw::cli {
namespace {

// Whether the file read is a record of its kind; if not, the report says why, and nothing more is checked.
bool IsRecord(const RecordReadReport& read, FileReport& report) {
    if (!read.notRecord.empty())
        report.findings.push_back({FindingKind::NotARecord, read.notRecord});
    return read.notRecord.empty();
}

// A finding about key (empty: the file as a whole), element of its list, on the key's line.
void Add(FileReport& report, const RecordReadReport& read, FindingKind kind, std::string text,
         std::string_view key, std::size_t element = kWholeValue) {
    report.findings.push_back({kind, std::move(text), read.LineOf(key), std::string(key), element});
}

// The quests a dialogue names, the string IDs it names when they are looked up, each with the line and
// element of the list that names it, in the order of their findings; with events, the events its
// SetGameEvent rows set.
void AddReferences(const InfoEditorModel& model, const RecordReadReport& read,
                   const FileCheckOptions& options, FileReport& report) {
    const auto refer = [&](Reference::Kind kind, std::string_view name, std::string_view key,
                           std::size_t element) {
        if (!name.empty())
            report.references.push_back({kind, std::string(name), {}, read.LineOf(key), key, element});
    };
    refer(Reference::Kind::Quest, TrimView(model.QuestEd), "Quest", kWholeValue);
    for (std::size_t r = 0; r < model.CommandList.size(); ++r) {
        const CommandRow& row = model.CommandList[r];
        const std::string_view command = TrimView(row[0]);
        RenameKind named{};
        const bool namesOne = IdKindOfCommand(command, named); // its IDs1 holds a quest or an event
        if (namesOne && named == RenameKind::Quest)
            refer(Reference::Kind::Quest, TrimView(row[3]), CommandListKey(3), r);
        if (options.events && namesOne && named == RenameKind::Event && !TrimView(row[3]).empty())
            report.setEvents.emplace_back(TrimView(row[3]));
        const std::string_view id = TrimView(row[5]);
        if (options.lookUpIds && AsciiEqualNoCase(command, "Say") && id != kEmptyPlaceholder)
            refer(Reference::Kind::StringId, id, CommandListKey(5), r);
    }
}

void CheckInfoFile(std::string_view bytes, const FileCheckOptions& options, FileReport& report) {
    // Each thread reads its files into the same storage.
    thread_local InfoCheckWork work;
    const InfoRun& run = LoadAndCheck(bytes, work);
    const RecordReadReport& read = run.read;
    if (!IsRecord(read, report))
        return;
    for (const UnreadNumber& number : read.unreadNumbers)
        Add(report, read, FindingKind::UnreadNumber, UnreadNumberMessage(number), number.key);
    for (const LoadNotice& notice : run.loaded.notices)
        Add(report, read, FindingKind::LoadNotice, notice.text, notice.key);
    if (!run.misaligned.text.empty())
        Add(report, read, FindingKind::MisalignedLists, run.misaligned.text, run.misaligned.key);
    if (run.compiled.Failed())
        Add(report, read, FindingKind::CompileError, run.compiled.message, run.compiled.key,
            run.compiled.row.value_or(kWholeValue));
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
            {Reference::Kind::StringId, std::string(trimmed), std::string(key), read.LineOf(key), key});
}

void CheckQuestFile(std::string_view bytes, const FileCheckOptions& options, FileReport& report) {
    const QuestRun run = FillQuestBytes(bytes);
    const RecordReadReport& read = run.read;
    if (!IsRecord(read, report))
        return;
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

FileReport CheckRecordText(std::string path, RecordKind kind, std::string_view bytes,
                           const FileCheckOptions& options) {
    FileReport report;
    report.path = std::move(path);
    if (kind == RecordKind::Quest)
        CheckQuestFile(bytes, options, report);
    else
        CheckInfoFile(bytes, options, report);
    return report;
}

RecordKind RecordKindOfPath(const std::string& path) {
    return HasExtension(path, ".quest") ? RecordKind::Quest : RecordKind::Dialogue;
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
