#pragma once
// TQuest: the record of one quest and its .quest file, read and written through the profile layer.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct RecordReadReport;

// The quests a FinishedQuests value names: the quests that must be done before, separated by ";" or ",",
// each trimmed; empty elements left out.
std::vector<std::string> SplitQuestNames(std::string_view list);

class TQuest {
public:
    std::int32_t RunningTimeYears = 0;
    std::int32_t AttribSuccessAmount = 0;
    std::int32_t JobSuccessAmount = 0; // -1 means none
    std::int32_t ExperiencePoints = 0;
    std::int32_t EnclaveSuccessAmount = 0;
    std::string DeliveryCounter;
    std::int32_t PoliticalSuccess = 0;
    std::int32_t RunningTimeHours = 0;
    std::int32_t PoliticalSuccessAmount = 0;
    std::string DeliveryAmounts;
    std::int32_t RunningTimeDays = 0;
    std::int32_t JobSuccess = 0; // -1 means none
    std::int32_t Type = 0;
    std::string DestinationEntity;
    std::string AttribSuccess;
    std::string FinishedQuests;
    std::string LogTopic;
    std::string Folder;
    std::string LogText;
    std::string DeliveryEntities;
    std::string Name;
    std::string EnclaveSuccess;

    // Assigns all 22 fields; a missing file gives the defaults (JobSuccess, JobSuccessAmount -1). With
    // report, also says whether the file is a quest file at all and which numbers could not be read, and
    // throws std::runtime_error("Cannot open file ...") when the file exists but cannot be read.
    void ReadFromFile(const std::string& fileName, RecordReadReport* report = nullptr);
    // The same for a file's bytes held in memory (an editor's text, or a file its caller has read): empty
    // bytes read as a missing file does, but the report calls them no quest file.
    void ReadFromBytes(std::string_view bytes, RecordReadReport* report = nullptr);
    // Writes the 22 keys in one atomic update. Throws std::runtime_error("Unable to write to %s. %s") and
    // leaves the old file whole when the file cannot be written.
    void WriteToFile(const std::string& fileName);
};

const std::vector<std::string_view>& QuestFileKeys();
std::string QuestFieldText(const TQuest& quest, std::string_view key);
// As SetInfoFieldText: false for an unknown key, throws for a bad integer.
bool SetQuestFieldText(TQuest& quest, std::string_view key, std::string_view value);

} // namespace pw
