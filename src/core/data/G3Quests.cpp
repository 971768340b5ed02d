#include "core/data/G3Quests.h"

#include "core/data/FileIO.h"
#include "core/data/Numbers.h"
#include "core/data/ProfileIni.h"
#include "core/data/ReadReport.h"
#include "core/data/StrUtilsEx.h"

#include <stdexcept>

namespace pw {
namespace {

constexpr std::string_view kSection = "Quest";

enum class Kind { String, Integer, OptionalInteger };

struct QuestField {
    std::string_view key;
    Kind kind;
    std::string TQuest::*text = nullptr;
    std::int32_t TQuest::*number = nullptr;
};

QuestField S(std::string_view key, std::string TQuest::*member) {
    return {key, Kind::String, member, nullptr};
}
QuestField I(std::string_view key, std::int32_t TQuest::*member) {
    return {key, Kind::Integer, nullptr, member};
}
// JobSuccess and JobSuccessAmount: -1 means none and is written as an empty value.
QuestField O(std::string_view key, std::int32_t TQuest::*member) {
    return {key, Kind::OptionalInteger, nullptr, member};
}

// The 22 keys in the order of the file.
const std::vector<QuestField>& Fields() {
    static const std::vector<QuestField> fields = {
        S("Name", &TQuest::Name),
        I("Type", &TQuest::Type),
        S("FinishedQuests", &TQuest::FinishedQuests),
        S("LogTopic", &TQuest::LogTopic),
        S("LogText", &TQuest::LogText),
        I("ExperiencePoints", &TQuest::ExperiencePoints),
        I("PoliticalSuccess", &TQuest::PoliticalSuccess),
        I("PoliticalSuccessAmount", &TQuest::PoliticalSuccessAmount),
        S("EnclaveSuccess", &TQuest::EnclaveSuccess),
        I("EnclaveSuccessAmount", &TQuest::EnclaveSuccessAmount),
        O("JobSuccess", &TQuest::JobSuccess),
        O("JobSuccessAmount", &TQuest::JobSuccessAmount),
        S("Folder", &TQuest::Folder),
        S("DeliveryEntities", &TQuest::DeliveryEntities),
        S("DeliveryAmounts", &TQuest::DeliveryAmounts),
        S("DeliveryCounter", &TQuest::DeliveryCounter),
        S("DestinationEntity", &TQuest::DestinationEntity),
        I("RunningTimeYears", &TQuest::RunningTimeYears),
        I("RunningTimeDays", &TQuest::RunningTimeDays),
        I("RunningTimeHours", &TQuest::RunningTimeHours),
        S("AttribSuccess", &TQuest::AttribSuccess),
        I("AttribSuccessAmount", &TQuest::AttribSuccessAmount),
    };
    return fields;
}

const QuestField* FindField(std::string_view key) {
    for (const QuestField& f : Fields())
        if (f.key == key)
            return &f;
    return nullptr;
}

std::string FieldText(const TQuest& quest, const QuestField& field) {
    switch (field.kind) {
    case Kind::String:
        return quest.*field.text;
    case Kind::OptionalInteger:
        if (quest.*field.number == -1)
            return {};
        [[fallthrough]];
    case Kind::Integer:
        return std::to_string(quest.*field.number);
    }
    return {};
}

} // namespace

void TQuest::ReadFromFile(const std::string& fileName, RecordReadReport* report) {
    // A missing file gives an empty text, so every field its default; so does an unreadable one, unless
    // the caller asks for a report and so for the truth.
    const std::optional<std::string> bytes = report ? ReadWholeFile(fileName) : TryReadWholeFile(fileName);
    ReadFromBytes(bytes ? std::string_view(*bytes) : std::string_view(), report);
    if (report && !bytes)
        report->notRecord.clear(); // a missing file is the defaults, not an empty one
}

void TQuest::ReadFromBytes(std::string_view bytes, RecordReadReport* report) {
    // Every key in one pass, as each is read alone.
    static const ProfileKeySet keys(std::vector<std::string>(QuestFileKeys().begin(), QuestFileKeys().end()));
    const ProfileValues found = ProfileFindKeys(bytes, kSection, keys);
    for (std::size_t i = 0; i < Fields().size(); ++i) {
        const QuestField& field = Fields()[i];
        const std::optional<std::string>& value = found.values[i];
        if (report && value)
            report->keyLines.emplace_back(field.key, found.lines[i]);
        if (field.kind == Kind::String) {
            this->*field.text = value.value_or(std::string());
            continue;
        }
        const bool optional = field.kind == Kind::OptionalInteger;
        const std::optional<std::int32_t> number = ParseFileInteger(value.value_or(std::string()));
        this->*field.number = number.value_or(optional ? -1 : 0);
        // A missing key, or an empty value where the file stores none, is no number that went wrong.
        if (report && !number && value && !(optional && value->empty()))
            report->unreadNumbers.push_back({std::string(field.key), *value, optional ? -1 : 0});
    }
    if (report) {
        report->sectionLine = found.sectionLine;
        report->notRecord = RecordFileProblem(bytes, RecordKind::Quest, found.sectionFound, true);
    }
}

void TQuest::WriteToFile(const std::string& fileName) {
    std::vector<std::pair<std::string, std::string>> keyValues;
    for (const QuestField& field : Fields())
        keyValues.emplace_back(std::string(field.key), FieldText(*this, field));
    std::string reason;
    if (!ProfileWriteStrings(fileName, kSection, keyValues, &reason))
        throw std::runtime_error(UnableToWriteMessage(fileName, reason));
}

const std::vector<std::string_view>& QuestFileKeys() {
    static const std::vector<std::string_view> keys = [] {
        std::vector<std::string_view> k;
        for (const QuestField& f : Fields())
            k.push_back(f.key);
        return k;
    }();
    return keys;
}

std::string QuestFieldText(const TQuest& quest, std::string_view key) {
    const QuestField* field = FindField(key);
    return field ? FieldText(quest, *field) : std::string();
}

bool SetQuestFieldText(TQuest& quest, std::string_view key, std::string_view value) {
    const QuestField* field = FindField(key);
    if (!field)
        return false;
    if (field->kind == Kind::String) {
        quest.*field->text = std::string(value);
        return true;
    }
    if (field->kind == Kind::OptionalInteger && value.empty()) {
        quest.*field->number = -1;
        return true;
    }
    const auto number = ParseWholeNumber(value);
    if (!number)
        throw std::runtime_error(NotValidIntegerMessage(value));
    quest.*field->number = *number;
    return true;
}

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

} // namespace pw
