// A quest file of any bytes read, mapped onto the quest editor and filled into a record again, as the
// quest tab loads and compiles it: a refusal says why, and a record the compile accepts loads back into
// the same editor content.

#include "FuzzInput.h"

#include "core/data/ReadReport.h"
#include "core/quest/QuestEditorModel.h"

namespace {

bool SameContent(const pw::QuestEditorModel& a, const pw::QuestEditorModel& b) {
    if (a.QuestTypeCMB != b.QuestTypeCMB)
        return false;
    for (const pw::QuestTextControl& control : pw::QuestTextControls())
        if (a.*control.text != b.*control.text)
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static pwfuzz::ScratchFile scratch;
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    pw::TQuest quest;
    pw::RecordReadReport report;
    quest.ReadFromFile(scratch.Fill(bytes), &report);
    pwfuzz::Require(!bytes.empty() || !report.notRecord.empty(), "an empty file is no quest");
    for (const pw::UnreadNumber& number : report.unreadNumbers)
        pwfuzz::Require(number.readAs == 0 || number.readAs == -1, "an unread number reads as 0 or -1");

    const pw::QuestEditorModel model = pw::LoadQuestModel(quest);
    const pw::QuestCompileOutcome outcome = pw::FillQuestRecord(model);
    pwfuzz::Require(outcome.Failed() == !outcome.message.empty(), "a refused compile says why");
    if (outcome.status == pw::QuestCompileStatus::Ready) {
        pwfuzz::Require(SameContent(pw::LoadQuestModel(outcome.quest), model),
                        "a compiled quest loads back into the same editor content");
        for (std::string_view key : pw::QuestFileKeys())
            pwfuzz::Require(
                pw::QuestFieldText(outcome.quest, key) ==
                    pw::QuestFieldText(pw::FillQuestRecord(pw::LoadQuestModel(outcome.quest)).quest, key),
                "compiling a compiled quest changes nothing");
    }
    return 0;
}
