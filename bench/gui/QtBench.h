#pragma once
// Support for the benchmarks that need a QApplication: their main(), the process's memory, and a workspace
// over a library.

#include <memory>
#include <string>

namespace pw {
class Workspace;
}

namespace pwbench {

// A workspace whose settings (a file of the given name in the temporary folder) point at the library in
// folder: its Quests, Infos and stringtable.ini.
std::unique_ptr<pw::Workspace> WorkspaceOver(const std::string& folder, const std::string& settingsName);

// The resident memory of this process, in megabytes (0 where the system does not say).
double ResidentMegabytes();

} // namespace pwbench
