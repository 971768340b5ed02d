#include "core/quest/QuestEditorModel.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/Numbers.h"
#include "core/data/ProfileIni.h"

#include <stdexcept>

namespace pw {

namespace {

using M = QuestEditorModel;

QuestTextControl T(std::string_view name, std::string_view key, std::string M::*text) {
    return {name, key, text, false};
}
QuestTextControl N(std::string_view name, std::string_view key, std::string M::*text) {
    return {name, key, text, true};
}

const char* const kQuestFileSuffix = "_quest_G3_World_01.quest";

} // namespace

const std::vector<QuestTextControl>& QuestTextControls() {
    static const std::vector<QuestTextControl> controls = {
        T("QuestNameEd", "Name", &M::QuestNameEd),
        T("QuestFinishedQuestsEd", "FinishedQuests", &M::QuestFinishedQuestsEd),
        T("QuestLogTopicEd", "LogTopic", &M::QuestLogTopicEd),
        T("QuestLogTextEd", "LogText", &M::QuestLogTextEd),
        N("QuestExperiencePointsEd", "ExperiencePoints", &M::QuestExperiencePointsEd),
        N("QuestPoliticalSuccessEd", "PoliticalSuccess", &M::QuestPoliticalSuccessEd),
        N("QuestPoliticalSuccessAmountEd", "PoliticalSuccessAmount", &M::QuestPoliticalSuccessAmountEd),
        T("QuestEnclaveSuccessCMB", "EnclaveSuccess", &M::QuestEnclaveSuccessCMB),
        N("QuestEnclaveSuccessAmountEd", "EnclaveSuccessAmount", &M::QuestEnclaveSuccessAmountEd),
        N("QuestJobSuccessEd", "JobSuccess", &M::QuestJobSuccessEd),
        N("QuestJobSuccessAmountEd", "JobSuccessAmount", &M::QuestJobSuccessAmountEd),
        T("QuestFolderCMB", "Folder", &M::QuestFolderCMB),
        T("QuestDeliveryEntitiesEd", "DeliveryEntities", &M::QuestDeliveryEntitiesEd),
        T("QuestDeliveryAmountsEd", "DeliveryAmounts", &M::QuestDeliveryAmountsEd),
        T("QuestDeliveryCounterEd", "DeliveryCounter", &M::QuestDeliveryCounterEd),
        T("QuestDestinationEntityEd", "DestinationEntity", &M::QuestDestinationEntityEd),
        N("QuestRunningTimeYearsEd", "RunningTimeYears", &M::QuestRunningTimeYearsEd),
        N("QuestRunningTimeDaysEd", "RunningTimeDays", &M::QuestRunningTimeDaysEd),
        N("QuestRunningTimeHoursEd", "RunningTimeHours", &M::QuestRunningTimeHoursEd),
        T("QuestAttribSuccessEd", "AttribSuccess", &M::QuestAttribSuccessEd),
        N("QuestAttribSuccessAmountEd", "AttribSuccessAmount", &M::QuestAttribSuccessAmountEd),
    };
    return controls;
}

// ---- Loading ----

QuestEditorModel LoadQuestModel(const TQuest& quest) {
    QuestEditorModel model;
    for (const QuestTextControl& control : QuestTextControls()) {
        std::string text = QuestFieldText(quest, control.key);
        // The file keeps "none" as an empty JobSuccess; the field shows the number itself.
        if (control.number && text.empty())
            text = "-1";
        model.*control.text = std::move(text);
    }
    const bool listed = quest.Type >= 0 && static_cast<std::size_t>(quest.Type) < QuestTypes().size();
    model.QuestTypeCMB = listed ? quest.Type : -1;
    return model;
}

// ---- Compiling ----

namespace {

QuestCompileOutcome Failure(QuestCompileStatus status, std::string message, std::string_view key = {}) {
    QuestCompileOutcome outcome;
    outcome.status = status;
    outcome.message = std::move(message);
    outcome.key = key;
    return outcome;
}

} // namespace

bool QuestCompileOutcome::GeneralError() const {
    return status == QuestCompileStatus::NotANumber || status == QuestCompileStatus::FolderFailed ||
           status == QuestCompileStatus::WriteFailed;
}

QuestCompileOutcome FillQuestRecord(const QuestEditorModel& model) {
    QuestCompileOutcome outcome;
    outcome.quest.Type = model.QuestTypeCMB; // the index itself, which never fails to convert
    for (const QuestTextControl& control : QuestTextControls()) {
        const std::string& text = model.*control.text;
        if (!control.number) {
            SetQuestFieldText(outcome.quest, control.key, text);
        } else if (const std::optional<std::int32_t> number = ParseWholeNumber(text)) {
            // As a decimal text, so that -1 stays -1 instead of becoming the file's empty "none".
            SetQuestFieldText(outcome.quest, control.key, std::to_string(*number));
        } else {
            return Failure(QuestCompileStatus::NotANumber, NotValidIntegerMessage(Cp1251ToUtf8(text)),
                           control.key);
        }
    }
    // The name is checked only after every field converted: a bad number is reported first.
    const std::string& name = outcome.quest.Name;
    if (name.empty())
        return Failure(QuestCompileStatus::NameMissing, "Имя квеста не задано", "Name");
    if (HoldsPathSeparator(name))
        return Failure(QuestCompileStatus::UnsafeName, "Имя квеста не может содержать символы / и \\",
                       "Name");
    if (IsFolderName(name))
        return Failure(QuestCompileStatus::UnsafeName, "Имя квеста не может быть \".\" или \"..\"", "Name");
    return outcome;
}

QuestCompileOutcome PrepareQuest(const QuestEditorModel& model, const QuestCompileSettings& settings) {
    QuestCompileOutcome outcome = FillQuestRecord(model);
    if (outcome.Failed())
        return outcome;
    outcome.createFolder = settings.TmpFiles;
    outcome.folder = settings.TmpFiles ? JoinPath(settings.programDir, "_Quests") : settings.QuestsPath;
    // Without a configured folder the path would point at the file system's root.
    if (outcome.folder.empty())
        return Failure(QuestCompileStatus::FolderMissing,
                       "В настройках не указан каталог для квестов (Quests).");
    outcome.path = JoinPath(outcome.folder, FileNameFromText(outcome.quest.Name + kQuestFileSuffix));
    return outcome;
}

void WriteCompiledQuest(QuestCompileOutcome& outcome) {
    if (outcome.status != QuestCompileStatus::Ready)
        return;
    if (outcome.createFolder) {
        if (std::optional<std::string> problem = OutputFolderProblem(outcome.folder)) {
            outcome.status = QuestCompileStatus::FolderFailed;
            outcome.message = std::move(*problem);
            return;
        }
    }
    try {
        outcome.quest.WriteToFile(outcome.path);
        outcome.status = QuestCompileStatus::Written;
    } catch (const std::runtime_error& error) {
        outcome.status = QuestCompileStatus::WriteFailed;
        outcome.message = error.what();
    }
}

QuestCompileOutcome CompileQuest(const QuestEditorModel& model, const QuestCompileSettings& settings) {
    QuestCompileOutcome outcome = PrepareQuest(model, settings);
    WriteCompiledQuest(outcome);
    return outcome;
}

// ---- Finding a quest by name ----

std::optional<std::string> FindQuestByName(const std::vector<std::string>& files, std::string_view name) {
    for (const std::string& path : files) {
        std::optional<std::string> bytes = TryReadWholeFile(path);
        if (!bytes)
            continue;
        if (AsciiEqualNoCase(ProfileText(std::move(*bytes)).Get("Quest", "Name", ""), name))
            return path;
    }
    return std::nullopt;
}

} // namespace pw
