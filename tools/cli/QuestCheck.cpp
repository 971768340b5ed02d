#include "QuestCheck.h"

#include "QuestPipeline.h"
#include "ReferenceSets.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/MessageText.h"
#include "data/Numbers.h"
#include "data/ProfileIni.h"
#include "data/StrUtilsEx.h"
#include "data/StringTable.h"
#include "quest_editor/QuestEditorModel.h"

#include <cerrno>
#include <stdexcept>

namespace pw::cli {
namespace {

constexpr std::string_view kSection = "Quest";

// JobSuccess and JobSuccessAmount keep "none" as an empty value, which the reader takes for -1.
bool IsOptionalNumber(std::string_view key) {
    return key == "JobSuccess" || key == "JobSuccessAmount";
}

std::vector<std::string_view> NumberKeys() {
    std::vector<std::string_view> keys = {"Type"};
    for (const QuestTextControl& control : QuestTextControls())
        if (control.number)
            keys.push_back(control.key);
    return keys;
}

// A number the reader cannot read becomes 0 (-1 for the optional two) without a word; the game then
// gets a value nobody wrote.
void CheckNumbers(const ProfileText& file, FileReport& report) {
    static const std::vector<std::string_view> keys = NumberKeys();
    for (std::string_view key : keys) {
        const std::optional<std::string> text = file.Find(kSection, key);
        const bool optional = IsOptionalNumber(key);
        if (!text || (optional && text->empty()) || ParseFileInteger(*text))
            continue;
        report.findings.push_back({false, "Ключ " + std::string(key) + ": значение \"" + Cp1251ToUtf8(*text) +
                                              "\" не является целым числом и читается как " +
                                              (optional ? "-1" : "0") + "."});
    }
}

void CheckTableId(std::string_view key, const std::string& id, const NameSet& tableIds, FileReport& report) {
    const std::string_view trimmed = TrimView(id);
    if (!trimmed.empty() && trimmed != kEmptyPlaceholder && !tableIds.Contains(trimmed))
        report.findings.push_back(
            {false,
             FillMessage("ID строки %s (" + std::string(key) + ") отсутствует в таблице строк.", {trimmed})});
}

// FinishedQuests names the quests that must be done before, separated by ";" or ",".
std::vector<std::string> SplitQuestNames(std::string_view list) {
    std::vector<std::string> names;
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(";,", start);
        if (end == std::string_view::npos)
            end = list.size();
        const std::string_view name = TrimView(list.substr(start, end - start));
        if (!name.empty())
            names.emplace_back(name);
        start = end + 1;
    }
    return names;
}

} // namespace

void CheckQuestFile(FileReport& report, const NameSet* tableIds) {
    std::optional<std::string> bytes = ReadWholeFile(report.path);
    if (!bytes)
        throw std::runtime_error(CannotOpenFileMessage(report.path, SystemErrorText(ENOENT)));
    const ProfileText file(std::move(*bytes));
    const QuestRun run = LoadAndFillQuest(report.path);
    if (run.compiled.Failed())
        report.findings.push_back({true, run.compiled.message});
    CheckNumbers(file, report);
    const TQuest& quest = run.loaded;
    if (run.model.QuestTypeCMB < 0)
        report.findings.push_back({false, "Тип квеста " + std::to_string(quest.Type) + " вне списка 0–" +
                                              std::to_string(QuestTypes().size() - 1) +
                                              ": редактор запишет -1."});
    if (tableIds) {
        CheckTableId("LogTopic", quest.LogTopic, *tableIds, report);
        CheckTableId("LogText", quest.LogText, *tableIds, report);
    }
    report.questName = quest.Name;
    report.finishedQuests = SplitQuestNames(quest.FinishedQuests);
}

} // namespace pw::cli
