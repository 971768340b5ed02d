#include "core/dialogue/InfoEditorModel.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/FileNames.h"
#include "core/data/MessageText.h"
#include "core/data/Numbers.h"
#include "core/data/StringTable.h"
#include "core/data/StrUtilsEx.h"
#include "core/dialogue/Vocabularies.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>
#include <stdexcept>

namespace pw {

namespace {

constexpr bool IsElementBlank(char c) {
    return c >= 1 && c <= 32;
}

int PositionOrNone(std::int32_t value, const Vocabulary& list) {
    return value >= 0 && static_cast<std::size_t>(value) < list.size() ? value : -1;
}

// Calls onElement with each element of text as SplitElements cuts it, without copying them; returns the
// number of separators, each of which the walk passes once.
template <typename OnElement> std::size_t ForEachElement(std::string_view text, OnElement onElement) {
    std::size_t i = 0;
    std::size_t separators = 0;
    const std::size_t n = text.size();
    auto skipBlanks = [&] {
        while (i < n && IsElementBlank(text[i]))
            ++i;
    };
    skipBlanks();
    // The bytes that end an element, looked up in a table: the loop over an element's bytes is the most
    // frequent of a library check.
    static constexpr auto kEnds = [] {
        std::array<bool, 256> ends{};
        for (int c = 0; c < 256; ++c)
            ends[static_cast<std::size_t>(c)] = IsElementBlank(static_cast<char>(c)) || c == ';';
        return ends;
    }();
    while (i < n) {
        const std::size_t start = i;
        while (i < n && !kEnds[static_cast<unsigned char>(text[i])])
            ++i;
        onElement(text.substr(start, i - start));
        skipBlanks();
        if (i < n && text[i] == ';') {
            ++separators;
            if (i == n - 1)
                onElement(std::string_view());
            ++i;
            skipBlanks();
        }
    }
    return separators;
}

} // namespace

std::vector<std::string> SplitElements(std::string_view text) {
    std::vector<std::string> elements;
    ForEachElement(text, [&elements](std::string_view element) { elements.emplace_back(element); });
    return elements;
}

// ---- Loading ----

namespace {

LoadNotice MissingEntryNotice(const char* utf8Template, const std::string& name, std::string_view key) {
    return {FillMessage(utf8Template, {name}), "Внимание", NoticeIcon::None, std::string(key)};
}

LoadNotice BadStateNotice() {
    return {"Грубая ошибка в списке персонажей", "Редактор диалогов", NoticeIcon::Error,
            "CondSecondaryNPCstates"};
}

// The box text for a name that must be found at the start of an entry of list; a name found in no
// entry stays as it is and raises a notice.
std::string LookUpEntry(const std::string& name, const Vocabulary& list, const char* noticeTemplate,
                        std::string_view key, std::vector<LoadNotice>& notices) {
    if (name.empty())
        return {};
    const int position = VocabularyFindPrefix(list, name);
    if (position >= 0)
        return list[static_cast<std::size_t>(position)];
    notices.push_back(MissingEntryNotice(noticeTemplate, name, key));
    return name;
}

// Rows for parallel lists. Without any separator the lists fill one row unsplit; otherwise each list
// is split and its k-th element goes to row k, with as many rows as the most separators of a list
// announce. A blank inside an element splits it further, so the rows grow until every element has a
// cell: nothing read may be dropped on the next compile. The rows are built in rows, whose cells keep
// their storage from an earlier file; each list is walked once.
template <typename Row>
void BuildRows(std::span<const std::string* const> lists, bool alwaysOneRow, std::vector<Row>& rows) {
    const bool split = std::any_of(lists.begin(), lists.end(),
                                   [](const std::string* l) { return l->find(';') != std::string::npos; });
    if (!split) {
        const bool anyText = std::any_of(lists.begin(), lists.end(), [](auto* l) { return !l->empty(); });
        rows.resize(alwaysOneRow || anyText ? 1 : 0);
        for (std::size_t c = 0; c < lists.size() && !rows.empty(); ++c)
            rows.front()[c] = *lists[c];
        return;
    }
    std::size_t used = 0; // the rows in use, their cells cleared of an earlier file's
    const auto use = [&rows, &used](std::size_t count) {
        for (; used < count; ++used) {
            if (used == rows.size()) {
                rows.emplace_back();
                continue;
            }
            for (std::string& cell : rows[used])
                cell.clear();
        }
    };
    for (std::size_t c = 0; c < lists.size(); ++c) {
        std::size_t k = 0;
        const std::size_t separators = ForEachElement(*lists[c], [&](std::string_view element) {
            use(k + 1);
            rows[k++][c] = element;
        });
        use(separators + 1);
    }
    rows.resize(used);
}

// NpcList's second column shows state words for the numbers read. With several rows only the cells
// that received an element of the state list are converted; a row the list has no element for keeps
// its empty cell without a notice.
void ConvertStates(std::vector<ConditionRow>& rows, const TInfo& info, std::vector<LoadNotice>& notices) {
    const std::string& states = info.CondSecondaryNPCstates;
    if (CharCount(';', info.CondSecondaryNPC) == 0 && CharCount(';', states) == 0) {
        std::string& cell = rows.front()[1];
        if (std::optional<std::int32_t> m = ParseWholeNumber(cell))
            cell = VocabularyEntry(NpcListItems(), *m);
        return;
    }
    const std::size_t elements = SplitElements(states).size();
    for (std::size_t k = 0; k < elements; ++k) {
        bool bad = false;
        rows[k][1] = StateWordForElement(rows[k][1], &bad);
        if (bad)
            notices.push_back(BadStateNotice());
    }
}

void LoadFields(const TInfo& info, InfoEditorModel& m, std::vector<LoadNotice>& notices) {
    m.NameEd = info.Name;
    m.OwnerCmb = info.Owner;
    m.QuestEd = info.Quest;
    m.SortIdEd = std::to_string(info.SortID);
    m.ConditionTypeIndex = PositionOrNone(info.ConditionType, ConditionTypes());
    m.InfoTypeIndex = PositionOrNone(info.InfoType, InfoTypes());
    m.InfoGivenEd = BoolText(info.InfoGiven);
    m.ParentEd = info.Parent;
    m.GoldCostEd = std::to_string(info.GoldCost);
    m.CondOwnerNearEntityEd = info.CondOwnerNearEntity;
    m.FolderCmb = info.Folder;
    m.CondPlayerKnowsEd = info.CondPlayerKnows;
    m.TeachSkillIsPercEd = BoolText(info.TeachSkillIsPerc);
    m.TeachSkillIndexEd = std::to_string(info.TeachSkillIndex);
    m.TeachSkillValueEd = std::to_string(info.TeachSkillValue);
    m.ClearChildrenEd = BoolText(info.ClearChildren);
    m.PermanentEd = BoolText(info.Permanent);
    m.TeachSkillCmb =
        LookUpEntry(info.TeachSkill, Skills(), "Навык %s отсутствует в базе.", "TeachSkill", notices);
    m.CondItemContainerCmb = LookUpEntry(info.CondItemContainer, CharacterNames(),
                                         "Персонаж %s отсутствует в базе.", "CondItemContainer", notices);
    m.TeachAttribEd = info.TeachAttrib;
    m.TeachAttribValueEd = std::to_string(info.TeachAttribValue);
}

} // namespace

std::string StateWordForElement(std::string_view element, bool* bad) {
    const std::optional<std::int32_t> m = ParseWholeNumber(element);
    if (bad)
        *bad = !m;
    if (!m || *m < 0 || *m >= kStateCount)
        return {};
    return CharacterStates()[static_cast<std::size_t>(*m)];
}

LoadedInfo LoadInfoModel(const TInfo& info) {
    LoadedInfo loaded;
    LoadInfoModel(info, loaded);
    return loaded;
}

void LoadInfoModel(const TInfo& info, LoadedInfo& loaded) {
    InfoEditorModel& m = loaded.model;
    loaded.notices.clear();
    LoadFields(info, m, loaded.notices);
    const std::array<const std::string*, 2> items = {&info.CondItems, &info.CondItemAmounts};
    const std::array<const std::string*, 2> npcs = {&info.CondSecondaryNPC, &info.CondSecondaryNPCstates};
    BuildRows<ConditionRow>(items, false, m.ItemsList);
    BuildRows<ConditionRow>(npcs, false, m.NpcList);
    if (!m.NpcList.empty())
        ConvertStates(m.NpcList, info, loaded.notices);
    BuildRows<CommandRow>(std::array{&info.InfoScript_Commands, &info.InfoScript_Entities1,
                                     &info.InfoScript_Entities2, &info.InfoScript_IDs1, &info.InfoScript_IDs2,
                                     &info.InfoScript_Texts},
                          true, m.CommandList);
}

std::vector<CommandRow> CommandRowsOf(const std::array<const std::string*, kCommandCellCount>& lists) {
    std::vector<CommandRow> rows;
    BuildRows<CommandRow>(lists, true, rows);
    return rows;
}

ScriptListsWarning MisalignedScriptWarning(const TInfo& info) {
    const std::pair<const char*, const std::string*> lists[] = {
        {"InfoScript_Commands", &info.InfoScript_Commands},
        {"InfoScript_Entities1", &info.InfoScript_Entities1},
        {"InfoScript_Entities2", &info.InfoScript_Entities2},
        {"InfoScript_IDs1", &info.InfoScript_IDs1},
        {"InfoScript_IDs2", &info.InfoScript_IDs2},
        {"InfoScript_Texts", &info.InfoScript_Texts},
    };
    int first = -1;
    std::string_view differing; // the first list whose count differs from the first one's
    for (const auto& [key, list] : lists) {
        if (list->empty())
            continue;
        const int separators = CharCount(';', *list);
        if (differing.empty() && first >= 0 && separators != first)
            differing = key;
        if (first < 0)
            first = separators;
    }
    if (differing.empty())
        return {};
    std::string counts;
    for (const auto& [key, list] : lists)
        if (!list->empty())
            counts +=
                std::string(counts.empty() ? "" : ", ") + key + " " + std::to_string(CharCount(';', *list));
    return {FillMessage("Списки инфоскрипта содержат разное число разделителей \";\" (%s): команды и их "
                        "аргументы не совпадают по строкам.",
                        {counts}),
            differing};
}

// ---- Compiling ----

std::string JoinColumn(const std::vector<std::string>& cells, JoinRule rule) {
    std::string joined;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const bool placeholder = cells[i] == kEmptyPlaceholder;
        if (placeholder && rule == JoinRule::Command)
            continue;
        if (!placeholder)
            joined += cells[i];
        if (i + 1 < cells.size())
            joined += ';';
    }
    return joined;
}

std::string EncodeState(std::string_view cell) {
    const int p = VocabularyIndexOf(NpcListItems(), cell);
    if (p <= 5)
        return std::to_string(p);
    return std::string(cell);
}

namespace {

const char* const kInfoFileSuffix = "_info_G3_World_01.info";

void Fail(CompileOutcome& outcome, CompileStatus status, const char* caption, std::string message,
          std::string_view key = {}) {
    outcome.status = status;
    outcome.caption = caption;
    outcome.message = std::move(message);
    outcome.key = key;
}

CompileOutcome Failure(CompileStatus status, const char* caption, std::string message, std::string_view key) {
    CompileOutcome outcome;
    Fail(outcome, status, caption, std::move(message), key);
    return outcome;
}

template <typename Row> std::vector<std::string> Column(const std::vector<Row>& rows, std::size_t column) {
    std::vector<std::string> cells;
    cells.reserve(rows.size());
    for (const Row& row : rows)
        cells.push_back(row[column]);
    return cells;
}

// A field that does not convert ends the compile with the one message the editor gives for it.
struct BadFieldError {};

std::int32_t ToInteger(std::string_view text) {
    if (std::optional<std::int32_t> value = ParseWholeNumber(text))
        return *value;
    throw BadFieldError{};
}

bool ToBoolean(std::string_view text) {
    if (AsciiEqualNoCase(text, "True"))
        return true;
    if (AsciiEqualNoCase(text, "False"))
        return false;
    return ToInteger(text) != 0;
}

// The joined lists of the three grids, as the record takes them.
struct JoinedLists {
    std::string items, amounts, npcs, states;
    std::string script[kCommandCellCount];
};

JoinedLists JoinGrids(const InfoEditorModel& m) {
    JoinedLists j;
    j.items = JoinColumn(Column(m.ItemsList, 0), JoinRule::Condition);
    j.amounts = JoinColumn(Column(m.ItemsList, 1), JoinRule::Condition);
    j.npcs = JoinColumn(Column(m.NpcList, 0), JoinRule::Condition);
    std::vector<std::string> states = Column(m.NpcList, 1);
    for (std::string& state : states)
        state = EncodeState(state);
    j.states = JoinColumn(states, JoinRule::Condition);
    for (std::size_t c = 0; c < kCommandCellCount; ++c)
        j.script[c] = JoinColumn(Column(m.CommandList, c), JoinRule::Command);
    return j;
}

// Sets the record's fields in the editor's fill order; throws BadFieldError at the first field
// that does not convert.
void FillInfo(const InfoEditorModel& m, const JoinedLists& j, TInfo& info) {
    info.Name = m.NameEd;
    info.SortID = ToInteger(m.SortIdEd);
    info.Owner = m.OwnerCmb;
    info.InfoGiven = ToBoolean(m.InfoGivenEd);
    info.Parent = m.ParentEd;
    info.Quest = m.QuestEd;
    info.ConditionType = m.ConditionTypeIndex;
    info.InfoType = m.InfoTypeIndex;
    info.GoldCost = ToInteger(m.GoldCostEd);
    info.CondOwnerNearEntity = m.CondOwnerNearEntityEd;
    info.Folder = m.FolderCmb;
    info.CondPlayerKnows = m.CondPlayerKnowsEd;
    info.CondItemContainer = m.CondItemContainerCmb;
    info.CondItems = j.items;
    info.CondItemAmounts = j.amounts;
    info.CondSecondaryNPC = j.npcs;
    info.CondSecondaryNPCstates = j.states;
    info.TeachSkill = m.TeachSkillCmb;
    info.TeachSkillIsPerc = ToBoolean(m.TeachSkillIsPercEd);
    info.TeachSkillIndex = ToInteger(m.TeachSkillIndexEd);
    info.TeachSkillValue = ToInteger(m.TeachSkillValueEd);
    info.TeachAttrib = m.TeachAttribEd;
    info.TeachAttribValue = ToInteger(m.TeachAttribValueEd);
    info.ClearChildren = ToBoolean(m.ClearChildrenEd);
    info.Permanent = ToBoolean(m.PermanentEd);
    info.InfoScript_Commands = j.script[0];
    info.InfoScript_Entities1 = j.script[1];
    info.InfoScript_Entities2 = j.script[2];
    info.InfoScript_IDs1 = j.script[3];
    info.InfoScript_IDs2 = j.script[4];
    info.InfoScript_Texts = j.script[5];
}

// False when there is no folder to write into: the scratch folder is off and the settings name no
// Infos folder. A path made without one would point at the file system's root.
bool SetOutputPath(const InfoEditorModel& m, const CompileSettings& settings, CompileOutcome& outcome) {
    if (!settings.TmpFiles && settings.InfosPath.empty())
        return false;
    outcome.createFolder = settings.TmpFiles;
    outcome.folder = settings.TmpFiles ? JoinPath(settings.programDir, "_Infos") : settings.InfosPath;
    outcome.path = JoinPath(outcome.folder, FileNameFromText(m.NameEd + kInfoFileSuffix));
    return true;
}

const char* const kScriptCaption = "Грубая ошибка в инфоскрипте";

} // namespace

CompileOutcome CheckInfoHeader(const InfoEditorModel& model) {
    if (TrimView(model.NameEd).empty())
        return Failure(CompileStatus::NameMissing, "Ошибка", "Не задано имя диалога!", "Name");
    if (HoldsPathSeparator(model.NameEd))
        return Failure(CompileStatus::UnsafeName, "Ошибка", "Имя диалога не может содержать символы / и \\",
                       "Name");
    if (IsFolderName(model.NameEd))
        return Failure(CompileStatus::UnsafeName, "Ошибка", "Имя диалога не может быть \".\" или \"..\"",
                       "Name");
    if (TrimView(model.OwnerCmb).empty())
        return Failure(CompileStatus::OwnerMissing, "Ошибка", "Не указан владелец диалога!", "Owner");
    return {};
}

namespace {

// The checks of stage 2: unfilled command rows, then the InfoScript's rules.
void CheckScript(const InfoEditorModel& model, CompileOutcome& outcome) {
    ScriptCheck check = CheckUnfilledRows(model.CommandList);
    CompileStatus status = CompileStatus::UnfilledRow;
    if (!check.broken) {
        check = CheckInfoScript(model.CommandList, model.ItemsList.size(), model.CondItemContainerCmb);
        status = CompileStatus::ScriptError;
    }
    if (!check.broken)
        return;
    Fail(outcome, status, kScriptCaption, std::move(check.message), check.key);
    outcome.row = check.row;
}

} // namespace

CompileOutcome CheckInfoCompile(const InfoEditorModel& model) {
    CompileOutcome outcome = CheckInfoHeader(model);
    if (outcome.status == CompileStatus::HeaderChecked)
        CheckScript(model, outcome);
    return outcome;
}

void PrepareInfo(const InfoEditorModel& model, const CompileSettings& settings, CompileOutcome& outcome) {
    if (outcome.status != CompileStatus::HeaderChecked)
        return;
    CheckScript(model, outcome);
    if (outcome.Failed())
        return;
    const JoinedLists joined = JoinGrids(model);
    try {
        FillInfo(model, joined, outcome.info);
    } catch (const BadFieldError&) {
        return Fail(outcome, CompileStatus::BadField, "Ошибка", "Пожалуйста, заполните все поля!");
    }
    if (!SetOutputPath(model, settings, outcome))
        return Fail(outcome, CompileStatus::FolderMissing, "Ошибка",
                    "В настройках не указан каталог для диалогов (Infos).");
    outcome.status = CompileStatus::Ready;
}

void WriteCompiledInfo(CompileOutcome& outcome) {
    if (outcome.status != CompileStatus::Ready)
        return;
    if (outcome.createFolder) {
        if (std::optional<std::string> problem = OutputFolderProblem(outcome.folder))
            return Fail(outcome, CompileStatus::FolderFailed, "Ошибка", std::move(*problem));
    }
    try {
        outcome.info.WriteToFile(outcome.path);
        outcome.status = CompileStatus::Written;
    } catch (const std::runtime_error& error) {
        Fail(outcome, CompileStatus::WriteFailed, "Ошибка", error.what());
    }
}

CompileOutcome CompileInfo(const InfoEditorModel& model, const CompileSettings& settings,
                           const std::function<void()>& onHeaderChecked) {
    CompileOutcome outcome = CheckInfoHeader(model);
    if (outcome.Failed())
        return outcome;
    if (onHeaderChecked)
        onHeaderChecked();
    PrepareInfo(model, settings, outcome);
    WriteCompiledInfo(outcome);
    return outcome;
}

// ---- Field handlers ----

std::string NormalizeBooleanText(std::string_view text) {
    if (AsciiEqualNoCase(text, "True") || AsciiEqualNoCase(text, "False"))
        return std::string(text);
    return "False";
}

std::string ZeroIfBlank(std::string_view text) {
    if (TrimView(text).empty())
        return "0";
    return std::string(text);
}

std::string TeachSkillIsPercFor(std::string_view skillText) {
    return BoolText(VocabularyIndexOf(Skills(), skillText) >= 0);
}

} // namespace pw
