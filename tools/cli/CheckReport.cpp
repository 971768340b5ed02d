#include "CheckReport.h"

#include "core/data/MessageText.h"

#include <array>

namespace pw::cli {
namespace {

// In the order of FindingKind.
constexpr std::array<FindingKindInfo, kFindingKinds> kKinds = {{
    {"file-error", true, "The file cannot be read."},
    {"not-a-record", true, "The file is no dialogue or quest that the editor reads."},
    {"compile-error", true, "The editor's compile refuses the file."},
    {"unread-number", false, "A number that the game reads as 0 or -1."},
    {"load-notice", false, "Loading the dialogue into the editor finds an unknown name or state."},
    {"misaligned-lists", false, "The InfoScript lists hold different numbers of elements."},
    {"quest-type", false, "The quest's Type is outside the list of quest types."},
    {"missing-quest", false, "No quest file names the quest that a dialogue names."},
    {"missing-string", false, "The string table lacks a string ID."},
    {"missing-parent", false, "No checked dialogue is the parent dialogue."},
    {"missing-earlier-quest", false, "No quest file names a quest of FinishedQuests."},
    {"duplicate-quest", false, "Another quest file has the same quest name."},
    {"unset-event", false, "No checked dialogue sets the event that CondPlayerKnows waits for."},
    {"repeated-id", false, "The string table repeats an ID; only its first entry is read."},
    {"no-equals", false, "A line of the string table without \"=\" is no entry."},
    {"semicolon-count", false, "A string's number of \";\" differs from most of the table."},
    {"no-final-semicolon", false, "A string does not end in \";\"."},
    {"question-marks", false, "A string holds \"???\", left by a save in the wrong encoding."},
    {"untranslated-string", false, "A string ID's text in the required language is not translated."},
}};

} // namespace

const FindingKindInfo& InfoOf(FindingKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

std::string UntranslatedText(CellState state) {
    switch (state) {
    case CellState::Missing:
        return "текста нет";
    case CellState::Placeholder:
        return "стоит заглушка";
    case CellState::SameAsEnglish:
        return "текст как в английском";
    case CellState::Translated:
        break;
    }
    return {};
}

Finding MissingQuestFinding(const Reference& reference) {
    return {FindingKind::MissingQuest,
            FillMessage("Квест %s отсутствует среди файлов квестов.", {reference.name}),
            reference.line,
            std::string(reference.key),
            reference.element,
            reference.name};
}

Finding MissingStringFinding(const Reference& reference) {
    const std::string text =
        reference.context.empty()
            ? FillMessage("ID строки %s отсутствует в таблице строк.", {reference.name})
            : FillMessage("ID строки %s (" + reference.context + ") отсутствует в таблице строк.",
                          {reference.name});
    return {FindingKind::MissingString, text,          reference.line, std::string(reference.key),
            reference.element,          reference.name};
}

Finding MissingParentFinding(const std::string& parent, std::size_t line) {
    return {FindingKind::MissingParent,
            FillMessage("Родительский диалог %s отсутствует среди проверенных файлов.", {parent}),
            line,
            "Parent",
            kWholeValue,
            parent};
}

Finding MissingEarlierQuestFinding(const std::string& quest, std::size_t line) {
    return {FindingKind::MissingEarlierQuest,
            FillMessage("Предыдущий квест %s отсутствует среди файлов квестов.", {quest}),
            line,
            "FinishedQuests",
            kWholeValue,
            quest};
}

Finding DuplicateQuestFinding(const std::string& quest, const std::string& earlierPath, std::size_t line) {
    return {FindingKind::DuplicateQuest,
            FillMessage("Квест с именем %s уже есть в файле ", {quest}) + earlierPath + ".", line, "Name"};
}

Finding UntranslatedStringFinding(const Reference& reference, const TableLanguage& language,
                                  CellState state) {
    const std::string text =
        FillMessage("ID строки %s: текст на языке «" + language.name + "» (" + language.code +
                        ") не переведён: " + UntranslatedText(state) + ".",
                    {reference.name});
    return {FindingKind::UntranslatedString,
            text,
            reference.line,
            std::string(reference.key),
            reference.element,
            reference.name};
}

} // namespace pw::cli
