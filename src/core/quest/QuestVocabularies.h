#pragma once
// The fixed lists offered by the quest editor's three combo boxes, in the order the boxes show them.
// Every text is Windows-1251.

#include <string>
#include <vector>

namespace pw {

// QuestTypeCMB, 12 entries "0 - Трансфер" ... "11 - Украсть"; the position is the quest's Type.
const std::vector<std::string>& QuestTypes();
// QuestFolderCMB, the game's 31 quest folders; the text is the quest's Folder.
const std::vector<std::string>& QuestFolders();
// QuestEnclaveSuccessCMB, the game's 25 reputation enclaves; the text is the quest's EnclaveSuccess.
const std::vector<std::string>& Enclaves();

inline constexpr int kDefaultQuestType = 0;   // "0 - Трансфер"
inline constexpr int kDefaultQuestFolder = 1; // "Myrtana/Ardea_City/"
inline constexpr int kDefaultEnclave = 0;     // "Ardea"

} // namespace pw
