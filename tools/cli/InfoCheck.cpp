#include "InfoCheck.h"

#include "core/data/Cp1251.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"

#include <array>

namespace pw::cli {
namespace {

// The keys of the InfoScript lists, in the order of a command row's cells.
constexpr std::array<std::string_view, kCommandCellCount> kScriptKeys = {
    "InfoScript_Commands", "InfoScript_Entities1", "InfoScript_Entities2",
    "InfoScript_IDs1",     "InfoScript_IDs2",      "InfoScript_Texts"};

bool IsQuestCommand(std::string_view command) {
    return AsciiEqualNoCase(command, "SucceedQuest") || AsciiEqualNoCase(command, "CloseQuest") ||
           AsciiEqualNoCase(command, "RunQuest");
}

bool RowBroken(const CommandRow& row) {
    return CheckInfoScript({row}, 0, "").broken;
}

// The cell of a row the rules refuse: the first filled argument cell that, held otherwise, changes the
// row's verdict (a wrong party, a number that is none, a surplus argument), else the command itself (a
// required cell left empty).
std::size_t WrongCell(const CommandRow& row) {
    const std::string message = CheckInfoScript({row}, 0, "").message;
    for (std::size_t cell = 1; cell < kCommandCellCount; ++cell) {
        if (TrimView(row[cell]).empty())
            continue;
        for (std::string_view other : {"", "owner", "1", "Duel"}) {
            CommandRow changed = row;
            changed[cell] = other;
            if (CheckInfoScript({changed}, 0, "").message != message)
                return cell;
        }
    }
    return 0;
}

// Where a refusal of the compile lies: the key and the element of the list.
void PlaceCompileError(const InfoEditorModel& model, CompileStatus status, Finding& finding) {
    const std::vector<CommandRow>& rows = model.CommandList;
    if (status == CompileStatus::NameMissing || status == CompileStatus::UnsafeName) {
        finding.key = "Name";
    } else if (status == CompileStatus::OwnerMissing) {
        finding.key = "Owner";
    } else if (status == CompileStatus::UnfilledRow) {
        for (std::size_t r = 1; r <= rows.size() && finding.key.empty(); ++r)
            if (CheckUnfilledRows({rows.begin(), rows.begin() + static_cast<std::ptrdiff_t>(r)}).broken)
                finding = {finding.kind, finding.text, 0, std::string(kScriptKeys[0]), r - 1};
    } else if (status == CompileStatus::ScriptError) {
        const bool holder = CheckInfoScript({}, model.ItemsList.size(), model.CondItemContainerCmb).broken;
        finding.key = holder ? (model.ItemsList.empty() ? "CondItemContainer" : "CondItems") : "";
        for (std::size_t r = 0; r < rows.size() && !holder && finding.key.empty(); ++r)
            if (RowBroken(rows[r])) {
                finding.key = kScriptKeys[WrongCell(rows[r])];
                finding.element = r;
            }
    }
}

// The quests a dialogue names, the string IDs it names when a table is given, in the order of their
// findings, and with events the events its SetGameEvent rows set.
void AddReferences(const InfoEditorModel& model, FileReport& report, const InfoCheckOptions& options) {
    const auto add = [&](Reference::Kind kind, std::string_view name, std::string_view key,
                         std::size_t element) {
        report.references.push_back({kind, std::string(name), {}, std::string(key), element});
    };
    if (!TrimView(model.QuestEd).empty())
        add(Reference::Kind::Quest, TrimView(model.QuestEd), "Quest", kWholeValue);
    for (std::size_t r = 0; r < model.CommandList.size(); ++r) {
        const CommandRow& row = model.CommandList[r];
        const std::string_view command = TrimView(row[0]);
        if (IsQuestCommand(command) && !TrimView(row[3]).empty())
            add(Reference::Kind::Quest, TrimView(row[3]), kScriptKeys[3], r);
        if (options.events && AsciiEqualNoCase(command, "SetGameEvent") && !TrimView(row[3]).empty())
            report.setEvents.emplace_back(TrimView(row[3]));
        const std::string_view id = TrimView(row[5]);
        if (options.lookUpIds && AsciiEqualNoCase(command, "Say") && !id.empty() && id != kEmptyPlaceholder)
            add(Reference::Kind::StringId, id, kScriptKeys[5], r);
    }
}

} // namespace

void CheckInfoRun(const InfoRun& run, FileReport& report, const InfoCheckOptions& options) {
    if (!run.read.notRecord.empty()) {
        report.findings.push_back({FindingKind::NotARecord, run.read.notRecord});
        return;
    }
    for (const UnreadNumber& number : run.read.unreadNumbers)
        report.findings.push_back({FindingKind::UnreadNumber, UnreadNumberMessage(number), 0, number.key});
    for (const LoadNotice& notice : run.loaded.notices)
        report.findings.push_back({FindingKind::LoadNotice, notice.text, 0, notice.key});
    if (!run.misaligned.empty())
        report.findings.push_back(
            {FindingKind::MisalignedLists, run.misaligned, 0, std::string(kScriptKeys[0])});
    if (run.compiled.Failed()) {
        Finding finding{FindingKind::CompileError, run.compiled.message};
        PlaceCompileError(run.loaded.model, run.compiled.status, finding);
        report.findings.push_back(std::move(finding));
    }
    AddReferences(run.loaded.model, report, options);
    report.dialogueName = Trim(run.loaded.model.NameEd);
    report.parent = Trim(run.loaded.model.ParentEd);
    if (options.events)
        report.playerKnows = Trim(run.loaded.model.CondPlayerKnowsEd);
}

} // namespace pw::cli
