#include "data/G3Infos.h"

#include "data/Cp1251.h"
#include "data/FileIO.h"
#include "data/IniSections.h"
#include "data/Numbers.h"
#include "data/StrUtilsEx.h"

#include <functional>
#include <stdexcept>

namespace pw {
namespace {

constexpr std::string_view kSection = "Info";

std::int32_t ReadInteger(const IniSections& ini, std::string_view key) {
    const auto value = ini.Value(kSection, key);
    return value ? ParseFileInteger(*value).value_or(0) : 0;
}

bool ReadBoolean(const IniSections& ini, std::string_view key) {
    const auto value = ini.Value(kSection, key);
    if (!value)
        return false;
    if (AsciiEqualNoCase(*value, "True"))
        return true;
    return ParseFileInteger(*value).value_or(0) != 0;
}

std::string BoolText(bool value) {
    return value ? "True" : "False";
}

// The key and value of a rendered line, as the writer's clean-up sees them.
std::string_view NameOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : line.substr(0, eq);
}

std::string_view ValueOf(std::string_view line) {
    const std::size_t eq = line.find('=');
    return eq == std::string_view::npos ? std::string_view() : TrimView(line.substr(eq + 1));
}

// Index of the first line named name (letter case ignored), or -1.
int FindFirstNamed(const std::vector<std::string>& lines, std::string_view name) {
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].find('=') != std::string::npos && AsciiEqualNoCase(NameOf(lines[i]), name))
            return static_cast<int>(i);
    return -1;
}

void RemoveFirstNamed(std::vector<std::string>& lines, std::string_view name) {
    const int i = FindFirstNamed(lines, name);
    if (i >= 0)
        lines.erase(lines.begin() + i);
}

// Whether the first line named name is missing or its value is empty; with trimmed, a value of
// blanks only counts as empty too.
bool FirstValueEmpty(const std::vector<std::string>& lines, std::string_view name, bool trimmed) {
    const int i = FindFirstNamed(lines, name);
    if (i < 0)
        return true;
    const std::string& line = lines[static_cast<std::size_t>(i)];
    return trimmed ? ValueOf(line).empty() : line.size() == line.find('=') + 1;
}

// Drops the key lines the record leaves out, walking backwards as the file format requires. Only an
// empty TeachSkill takes the other skill keys with it; one of blanks leaves them and goes itself.
void RemoveEmptyLines(std::vector<std::string>& lines) {
    if (FirstValueEmpty(lines, "TeachSkill", false)) {
        RemoveFirstNamed(lines, "TeachSkillIndex");
        RemoveFirstNamed(lines, "TeachSkillValue");
        RemoveFirstNamed(lines, "TeachSkillIndex");
        RemoveFirstNamed(lines, "TeachSkillIsPerc");
    }
    if (FirstValueEmpty(lines, "TeachAttrib", true))
        RemoveFirstNamed(lines, "TeachAttribValue");
    for (std::size_t i = lines.size(); i-- > 0;) {
        const std::string& line = lines[i];
        if (line.empty()) {
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
            continue;
        }
        if (line.find('[') != std::string::npos)
            continue;
        if (ValueOf(line).empty() && !AsciiEqualNoCase(NameOf(line), "SortID"))
            lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(i));
    }
}

struct FieldAccess {
    std::string_view key;
    std::function<std::string(const TInfo&)> get;
    std::function<void(TInfo&, std::string_view)> set;
};

std::int32_t IntegerFromText(std::string_view text) {
    const auto value = ParseWholeNumber(text);
    if (!value)
        throw std::runtime_error(NotValidIntegerMessage(text));
    return *value;
}

bool BooleanFromText(std::string_view text) {
    if (AsciiEqualNoCase(text, "True"))
        return true;
    if (AsciiEqualNoCase(text, "False"))
        return false;
    throw std::runtime_error("'" + std::string(text) + "' is not a valid boolean value");
}

#define PW_STRING_FIELD(F)                                                                                   \
    FieldAccess {                                                                                            \
#F, [](const TInfo& i) { return i.F; }, [](TInfo & i, std::string_view v) { i.F = std::string(v); }  \
    }
#define PW_INT_FIELD(F)                                                                                      \
    FieldAccess {                                                                                            \
#F, [](const TInfo& i) { return std::to_string(i.F); }, [](TInfo & i,                                \
                                                                   std::string_view                          \
                                                                       v) { i.F = IntegerFromText(v); }      \
    }
#define PW_BOOL_FIELD(F)                                                                                     \
    FieldAccess {                                                                                            \
#F, [](const TInfo& i) { return BoolText(i.F); },                                                    \
                                                       [](TInfo & i,                                         \
                                                          std::string_view v) { i.F = BooleanFromText(v); }  \
    }

const std::vector<FieldAccess>& Fields() {
    static const std::vector<FieldAccess> fields = {
        PW_STRING_FIELD(Name),
        PW_INT_FIELD(SortID),
        PW_STRING_FIELD(Owner),
        PW_BOOL_FIELD(InfoGiven),
        PW_STRING_FIELD(Parent),
        PW_STRING_FIELD(Quest),
        PW_INT_FIELD(ConditionType),
        PW_INT_FIELD(InfoType),
        PW_INT_FIELD(GoldCost),
        PW_STRING_FIELD(CondOwnerNearEntity),
        PW_STRING_FIELD(Folder),
        PW_STRING_FIELD(CondPlayerKnows),
        PW_STRING_FIELD(CondItemContainer),
        PW_STRING_FIELD(CondItems),
        PW_STRING_FIELD(CondItemAmounts),
        PW_STRING_FIELD(CondSecondaryNPC),
        PW_STRING_FIELD(CondSecondaryNPCstates),
        PW_BOOL_FIELD(TeachSkillIsPerc),
        PW_STRING_FIELD(TeachSkill),
        PW_INT_FIELD(TeachSkillIndex),
        PW_INT_FIELD(TeachSkillValue),
        PW_STRING_FIELD(TeachAttrib),
        PW_INT_FIELD(TeachAttribValue),
        PW_BOOL_FIELD(ClearChildren),
        PW_BOOL_FIELD(Permanent),
        PW_STRING_FIELD(InfoScript_Commands),
        PW_STRING_FIELD(InfoScript_Entities1),
        PW_STRING_FIELD(InfoScript_Entities2),
        PW_STRING_FIELD(InfoScript_IDs1),
        PW_STRING_FIELD(InfoScript_IDs2),
        PW_STRING_FIELD(InfoScript_Texts),
    };
    return fields;
}

const FieldAccess* FindField(std::string_view key) {
    for (const FieldAccess& f : Fields())
        if (f.key == key)
            return &f;
    return nullptr;
}

} // namespace

void TInfo::ReadFromFile(const std::string& fileName) {
    SectionName = std::string(kSection);
    const auto bytes = ReadWholeFile(fileName);
    const IniSections ini = IniSections::Parse(bytes ? std::string_view(*bytes) : std::string_view());
    auto str = [&ini](std::string_view key) { return ini.Value(kSection, key).value_or(std::string()); };

    ClearChildren = ReadBoolean(ini, "ClearChildren");
    TeachSkillIsPerc = ReadBoolean(ini, "TeachSkillIsPerc");
    Permanent = ReadBoolean(ini, "Permanent");
    InfoGiven = ReadBoolean(ini, "InfoGiven");
    ConditionType = ReadInteger(ini, "ConditionType");
    CondItemAmounts = str("CondItemAmounts");
    TeachSkillIndex = ReadInteger(ini, "TeachSkillIndex");
    InfoType = ReadInteger(ini, "InfoType");
    TeachSkillValue = ReadInteger(ini, "TeachSkillValue");
    GoldCost = ReadInteger(ini, "GoldCost");
    const std::string rawSortId = str("SortID");
    SortID = ParseFileInteger(rawSortId).value_or(0);
    if (SortID == 0 && rawSortId != "0")
        SortID = -1;
    InfoScript_IDs2 = str("InfoScript_IDs2");
    InfoScript_Entities1 = str("InfoScript_Entities1");
    Folder = str("Folder");
    CondItemContainer = str("CondItemContainer");
    InfoScript_Entities2 = str("InfoScript_Entities2");
    CondSecondaryNPC = str("CondSecondaryNPC");
    CondOwnerNearEntity = str("CondOwnerNearEntity");
    CondPlayerKnows = str("CondPlayerKnows");
    InfoScript_IDs1 = str("InfoScript_IDs1");
    CondSecondaryNPCstates = str("CondSecondaryNPCstates");
    Quest = str("Quest");
    Owner = str("Owner");
    InfoScript_Texts = str("InfoScript_Texts");
    Name = str("Name");
    CondItems = str("CondItems");
    Parent = str("Parent");
    InfoScript_Commands = str("InfoScript_Commands");
    TeachSkill = str("TeachSkill");
    TeachAttrib = str("TeachAttrib");
    TeachAttribValue = ReadInteger(ini, "TeachAttribValue");
}

void TInfo::WriteToFile(const std::string& fileName) {
    SectionName = std::string(kSection);
    // The file is merged into as it is under the lock, so a write of another process is kept.
    std::string out;
    const auto merge = [this, &out](const std::optional<std::string>& current) -> std::optional<FilePieces> {
        IniSections ini = IniSections::Parse(current ? std::string_view(*current) : std::string_view());
        for (const FieldAccess& field : Fields()) {
            std::string value = field.get(*this);
            if (field.key == "SortID" && SortID == -1)
                value.clear();
            ini.SetValue(kSection, field.key, value);
        }
        std::vector<std::string> lines = ini.RenderLines();
        RemoveEmptyLines(lines);
        for (const std::string& line : lines)
            out.append(line).append("\r\n");
        return FilePieces{out};
    };
    std::string reason;
    if (!UpdateFileAtomic(fileName, merge, &reason))
        throw std::runtime_error(CannotCreateFileMessage(fileName, reason));
}

const std::vector<std::string_view>& InfoFileKeys() {
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> k;
        for (const FieldAccess& f : Fields())
            k.push_back(f.key);
        return k;
    }();
    return keys;
}

std::string InfoFieldText(const TInfo& info, std::string_view key) {
    const FieldAccess* field = FindField(key);
    return field ? field->get(info) : std::string();
}

bool SetInfoFieldText(TInfo& info, std::string_view key, std::string_view value) {
    const FieldAccess* field = FindField(key);
    if (!field)
        return false;
    field->set(info, value);
    return true;
}

} // namespace pw
