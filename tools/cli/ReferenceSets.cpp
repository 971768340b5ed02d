#include "ReferenceSets.h"

#include "CliSupport.h"

#include "core/data/Cp1251.h"
#include "core/data/FileIO.h"
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
    // Each folder's files read within the folder; one that cannot be read names no quest.
    const std::vector<std::size_t> runs =
        FolderRuns(files.size(), [&files](std::size_t i) { return std::string_view(files[i]); });
    ParallelFor(runs.size() - 1, [&](std::size_t r) {
        const FolderReader folder(std::string(FolderPart(files[runs[r]])));
        std::string bytes;
        for (std::size_t i = runs[r]; i < runs[r + 1]; ++i)
            try {
                if (folder.ReadWholeFile(files[i], bytes))
                    names[i] = ProfileFind(bytes, "Quest", "Name");
            } catch (const std::runtime_error&) {
            }
    });
    NameSet set;
    for (const std::optional<std::string>& name : names)
        if (name)
            set.Add(*name);
    return set;
}

} // namespace pw::cli
