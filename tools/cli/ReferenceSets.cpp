#include "ReferenceSets.h"

#include "CliSupport.h"

#include "core/data/Cp1251.h"
#include "core/data/Library.h"
#include "core/data/ParallelWork.h"
#include "core/data/ProfileIni.h"

#include <optional>
#include <stdexcept>
#include <vector>

namespace pw::cli {

NameSet ReadQuestNames(const std::string& folder) {
    RequireExistingFolder(folder);
    std::vector<std::string> files;
    ScanLibraryFolder(folder, files);
    std::vector<std::optional<std::string>> names(files.size());
    ParallelFor(files.size(),
                [&](std::size_t i) { names[i] = ProfileText::Load(files[i]).Find("Quest", "Name"); });
    NameSet set;
    for (const std::optional<std::string>& name : names)
        if (name)
            set.Add(*name);
    return set;
}

} // namespace pw::cli
