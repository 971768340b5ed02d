#pragma once
// TInfo: the record of one dialogue and its .info file.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pw {

struct RecordReadReport;

class TInfo {
public:
    std::string SectionName; // "Info", set by ReadFromFile and WriteToFile
    bool ClearChildren = false;
    bool TeachSkillIsPerc = false;
    bool Permanent = false;
    bool InfoGiven = false;
    std::int32_t ConditionType = 0;
    std::string CondItemAmounts;
    std::int32_t TeachSkillIndex = 0;
    std::int32_t InfoType = 0;
    std::int32_t TeachSkillValue = 0;
    std::int32_t GoldCost = 0;
    std::int32_t SortID = 0; // -1 means none
    std::string InfoScript_IDs2;
    std::string InfoScript_Entities1;
    std::string Folder;
    std::string CondItemContainer;
    std::string InfoScript_Entities2;
    std::string CondSecondaryNPC;
    std::string CondOwnerNearEntity;
    std::string CondPlayerKnows;
    std::string InfoScript_IDs1;
    std::string CondSecondaryNPCstates;
    std::string Quest;
    std::string Owner;
    std::string InfoScript_Texts;
    std::string Name;
    std::string CondItems;
    std::string Parent;
    std::string InfoScript_Commands;
    std::int32_t TeachAttribValue = 0;
    std::string TeachAttrib;
    std::string TeachSkill;

    // Assigns all 31 fields from the file; a missing file gives the defaults (SortID -1). With report,
    // also says whether the file is a dialogue file at all and which numbers could not be read.
    // Throws std::runtime_error("Cannot open file ...") when the file exists but cannot be read.
    void ReadFromFile(const std::string& fileName, RecordReadReport* report = nullptr);
    // The same for a file's bytes held in memory (an editor's text, or a file its caller has read): empty
    // bytes read as a missing file does, but the report calls them no dialogue file.
    void ReadFromBytes(std::string_view bytes, RecordReadReport* report = nullptr);
    // Merges the record into the file (or creates it) atomically. Throws "Cannot open file ..." when an
    // existing file cannot be read and "Cannot create file ..." when it cannot be written.
    void WriteToFile(const std::string& fileName);
};

// The .info file's form of a boolean, which the editor's fields show too.
std::string BoolText(bool value);

// The 31 keys in the order of the file.
const std::vector<std::string_view>& InfoFileKeys();
// A field's value as text: integers decimal, booleans "True"/"False". Empty for an unknown key.
std::string InfoFieldText(const TInfo& info, std::string_view key);
// Sets a field from text (integers decimal, booleans "True"/"False" in any case). Returns false for
// an unknown key; throws std::runtime_error("'%s' is not a valid integer value") for a bad number and
// for a boolean that is neither word.
bool SetInfoFieldText(TInfo& info, std::string_view key, std::string_view value);

} // namespace pw
