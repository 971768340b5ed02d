#include "QuestCheck.h"

#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/quest/QuestEditorModel.h"

namespace pw::cli {
namespace {

void AddTableId(std::string_view key, const std::string& id, FileReport& report) {
    const std::string_view trimmed = TrimView(id);
    if (!trimmed.empty() && trimmed != kEmptyPlaceholder)
        report.references.push_back(
            {Reference::Kind::StringId, std::string(trimmed), std::string(key), std::string(key)});
}

} // namespace

void CheckQuestFile(FileReport& report, bool lookUpIds) {
    CheckQuestRun(LoadAndFillQuest(report.path), report, lookUpIds);
}

void CheckQuestRun(const QuestRun& run, FileReport& report, bool lookUpIds) {
    if (!run.read.notRecord.empty()) {
        report.findings.push_back({FindingKind::NotARecord, run.read.notRecord});
        return;
    }
    // Every refusal of a quest read from a file is about its name.
    if (run.compiled.Failed())
        report.findings.push_back({FindingKind::CompileError, run.compiled.message, 0, "Name"});
    // A number the reader cannot read becomes 0 (-1 for the optional two) without a word; the game then
    // gets a value nobody wrote.
    for (const UnreadNumber& number : run.read.unreadNumbers)
        report.findings.push_back({FindingKind::UnreadNumber, UnreadNumberMessage(number), 0, number.key});
    const TQuest& quest = run.loaded;
    // -1 is what the editor itself writes for no type, so only other values outside the list are told.
    if (run.model.QuestTypeCMB < 0 && quest.Type != -1)
        report.findings.push_back({FindingKind::QuestType,
                                   "Тип квеста " + std::to_string(quest.Type) + " вне списка 0–" +
                                       std::to_string(QuestTypes().size() - 1) + ": редактор запишет -1.",
                                   0, "Type"});
    if (lookUpIds) {
        AddTableId("LogTopic", quest.LogTopic, report);
        AddTableId("LogText", quest.LogText, report);
    }
    report.questName = quest.Name;
    report.finishedQuests = SplitQuestNames(quest.FinishedQuests);
}

} // namespace pw::cli
