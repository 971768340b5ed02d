#include "core/data/G3Infos.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
#include "core/data/IniSections.h"
#include "core/data/Numbers.h"
#include "core/data/ReadReport.h"
#include "core/data/StrUtilsEx.h"

#include <array>
#include <iterator>
#include <optional>
#include <span>
#include <stdexcept>

namespace pw {
namespace {

constexpr std::string_view kSection = "Info";

enum class Kind {
    Text,
    Integer,
    Boolean,
    SortId, // an integer whose -1 ("none") is an empty value in the file
};

// One key of the file and the member that holds it; exactly one of the three pointers is set.
struct InfoField {
    std::string_view key;
    Kind kind;
    std::string TInfo::*text = nullptr;
    std::int32_t TInfo::*number = nullptr;
    bool TInfo::*flag = nullptr;
};

InfoField S(std::string_view key, std::string TInfo::*member) {
    return {key, Kind::Text, member, nullptr, nullptr};
}
InfoField I(std::string_view key, std::int32_t TInfo::*member) {
    return {key, Kind::Integer, nullptr, member, nullptr};
}
InfoField B(std::string_view key, bool TInfo::*member) {
    return {key, Kind::Boolean, nullptr, nullptr, member};
}

constexpr std::size_t kFieldCount = 31;

// The 31 keys in the order of the file. Reading, writing and the text access below all walk this
// table; the reader looks keys up by name, so only the writer is shaped by the order.
std::span<const InfoField, kFieldCount> Fields() {
    static const InfoField fields[] = {
        S("Name", &TInfo::Name),
        {"SortID", Kind::SortId, nullptr, &TInfo::SortID, nullptr},
        S("Owner", &TInfo::Owner),
        B("InfoGiven", &TInfo::InfoGiven),
        S("Parent", &TInfo::Parent),
        S("Quest", &TInfo::Quest),
        I("ConditionType", &TInfo::ConditionType),
        I("InfoType", &TInfo::InfoType),
        I("GoldCost", &TInfo::GoldCost),
        S("CondOwnerNearEntity", &TInfo::CondOwnerNearEntity),
        S("Folder", &TInfo::Folder),
        S("CondPlayerKnows", &TInfo::CondPlayerKnows),
        S("CondItemContainer", &TInfo::CondItemContainer),
        S("CondItems", &TInfo::CondItems),
        S("CondItemAmounts", &TInfo::CondItemAmounts),
        S("CondSecondaryNPC", &TInfo::CondSecondaryNPC),
        S("CondSecondaryNPCstates", &TInfo::CondSecondaryNPCstates),
        B("TeachSkillIsPerc", &TInfo::TeachSkillIsPerc),
        S("TeachSkill", &TInfo::TeachSkill),
        I("TeachSkillIndex", &TInfo::TeachSkillIndex),
        I("TeachSkillValue", &TInfo::TeachSkillValue),
        S("TeachAttrib", &TInfo::TeachAttrib),
        I("TeachAttribValue", &TInfo::TeachAttribValue),
        B("ClearChildren", &TInfo::ClearChildren),
        B("Permanent", &TInfo::Permanent),
        S("InfoScript_Commands", &TInfo::InfoScript_Commands),
        S("InfoScript_Entities1", &TInfo::InfoScript_Entities1),
        S("InfoScript_Entities2", &TInfo::InfoScript_Entities2),
        S("InfoScript_IDs1", &TInfo::InfoScript_IDs1),
        S("InfoScript_IDs2", &TInfo::InfoScript_IDs2),
        S("InfoScript_Texts", &TInfo::InfoScript_Texts),
    };
    static_assert(std::size(fields) == kFieldCount);
    return fields;
}

const InfoField* FindField(std::string_view key) {
    for (const InfoField& f : Fields())
        if (f.key == key)
            return &f;
    return nullptr;
}

// The field a key line of the file names, letter case of A-Z ignored as the reader ignores it. Every
// line of every file is looked up, so the keys are grouped by length and told apart by their last letter
// before they are compared whole.
const InfoField* FindFileField(std::string_view name) {
    constexpr std::size_t kLongest = 32;
    static const auto byLength = [] {
        std::array<std::vector<const InfoField*>, kLongest + 1> groups;
        for (const InfoField& f : Fields())
            groups.at(f.key.size()).push_back(&f);
        return groups;
    }();
    if (name.empty() || name.size() > kLongest)
        return nullptr;
    const char last = AsciiUpper(name.back());
    for (const InfoField* f : byLength[name.size()])
        if (AsciiUpper(f->key.back()) == last && AsciiEqualNoCase(f->key, name))
            return f;
    return nullptr;
}

// A value the reader cannot take as an integer: a missing key is no such value, and neither is an
// empty SortID, which is how the file stores none.
bool IsUnreadNumber(const InfoField& field, const std::optional<std::string_view>& value) {
    if (!value || (field.kind != Kind::Integer && field.kind != Kind::SortId))
        return false;
    return !(field.kind == Kind::SortId && value->empty()) && !ParseFileInteger(*value);
}

// Assigns one field from the raw value of its key (std::nullopt when the key is missing).
void ReadField(TInfo& info, const InfoField& field, const std::optional<std::string_view>& value) {
    switch (field.kind) {
    case Kind::Text:
        info.*field.text = value.value_or(std::string_view());
        return;
    case Kind::Integer:
        info.*field.number = value ? ParseFileInteger(*value).value_or(0) : 0;
        return;
    case Kind::Boolean:
        info.*field.flag =
            value && (AsciiEqualNoCase(*value, "True") || ParseFileInteger(*value).value_or(0) != 0);
        return;
    case Kind::SortId: {
        // Zero only when written as "0"; a missing, empty or unreadable value, or another spelling of
        // zero, means none.
        const std::int32_t number = value ? ParseFileInteger(*value).value_or(0) : 0;
        info.*field.number = number == 0 && value != "0" ? -1 : number;
        return;
    }
    }
}

// A field's value as text: integers decimal, booleans "True"/"False".
std::string FieldText(const TInfo& info, const InfoField& field) {
    switch (field.kind) {
    case Kind::Text:
        return info.*field.text;
    case Kind::Integer:
    case Kind::SortId:
        return std::to_string(info.*field.number);
    case Kind::Boolean:
        return BoolText(info.*field.flag);
    }
    return {};
}

// The value the writer sets for a field's key.
std::string FileValue(const TInfo& info, const InfoField& field) {
    if (field.kind == Kind::SortId && info.*field.number == -1)
        return {};
    return FieldText(info, field);
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
        // A second TeachSkillIndex goes too: the file rules remove that key twice, so a merged file
        // that held it twice loses both lines. A rule of the format, not a slip.
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

bool BooleanFromText(std::string_view text) {
    if (AsciiEqualNoCase(text, "True"))
        return true;
    if (AsciiEqualNoCase(text, "False"))
        return false;
    throw std::runtime_error("'" + std::string(text) + "' is not a valid boolean value");
}

} // namespace

std::string BoolText(bool value) {
    return value ? "True" : "False";
}

void TInfo::ReadFromFile(const std::string& fileName, RecordReadReport* report) {
    const std::optional<std::string> bytes = ReadWholeFile(fileName);
    ReadFromBytes(bytes ? std::string_view(*bytes) : std::string_view(), report);
    if (report && !bytes)
        report->notRecord.clear(); // a missing file is the defaults, not an empty one
}

void TInfo::ReadFromBytes(std::string_view bytes, RecordReadReport* report) {
    SectionName = std::string(kSection);
    // One pass over the file's lines, the model not built: a later [Info] section starts afresh, and a
    // later line of a key replaces an earlier one.
    const auto fields = Fields();
    std::array<std::optional<std::string_view>, kFieldCount> values{};
    std::array<std::size_t, kFieldCount> lines{};
    std::size_t sectionLine = 0;
    IniSections::ReadSection(
        bytes, kSection,
        [&](std::size_t line) {
            sectionLine = line;
            values.fill(std::nullopt);
        },
        [&](std::string_view name, std::string_view value, std::size_t line) {
            if (const InfoField* field = FindFileField(name)) {
                values[static_cast<std::size_t>(field - fields.data())] = value;
                lines[static_cast<std::size_t>(field - fields.data())] = line;
            }
        });
    const bool sectionFound = sectionLine != 0;
    if (report) { // a report may be one of an earlier file, read again into the same storage
        report->unreadNumbers.clear();
        report->keyLines.clear();
        report->keyLines.reserve(fields.size());
    }
    for (std::size_t i = 0; i < fields.size(); ++i) {
        ReadField(*this, fields[i], values[i]);
        if (!report)
            continue;
        if (IsUnreadNumber(fields[i], values[i]))
            report->unreadNumbers.push_back({std::string(fields[i].key), std::string(*values[i]),
                                             fields[i].kind == Kind::SortId ? -1 : 0});
        if (values[i])
            report->keyLines.emplace_back(fields[i].key, lines[i]);
    }
    if (report) {
        report->sectionLine = sectionLine;
        report->notRecord = RecordFileProblem(bytes, RecordKind::Dialogue, sectionFound, false);
    }
}

void TInfo::WriteToFile(const std::string& fileName) {
    SectionName = std::string(kSection);
    // The file is merged into as it is under the lock, so a write of another process is kept.
    std::string out;
    const auto merge = [this, &out](const std::optional<std::string>& current) -> std::optional<FilePieces> {
        out.clear();
        IniSections ini = IniSections::Parse(current ? std::string_view(*current) : std::string_view());
        for (const InfoField& field : Fields())
            ini.SetValue(kSection, field.key, FileValue(*this, field));
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
        for (const InfoField& f : Fields())
            k.push_back(f.key);
        return k;
    }();
    return keys;
}

std::string InfoFieldText(const TInfo& info, std::string_view key) {
    const InfoField* field = FindField(key);
    return field ? FieldText(info, *field) : std::string();
}

bool SetInfoFieldText(TInfo& info, std::string_view key, std::string_view value) {
    const InfoField* field = FindField(key);
    if (!field)
        return false;
    switch (field->kind) {
    case Kind::Text:
        info.*field->text = std::string(value);
        break;
    case Kind::Integer:
    case Kind::SortId:
        if (const std::optional<std::int32_t> number = ParseWholeNumber(value))
            info.*field->number = *number;
        else
            throw std::runtime_error(NotValidIntegerMessage(value));
        break;
    case Kind::Boolean:
        info.*field->flag = BooleanFromText(value);
        break;
    }
    return true;
}

} // namespace pw
