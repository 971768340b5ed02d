// main() of the window benchmarks: one QApplication (offscreen unless a platform is chosen) around the
// benchmark runner.

#include "QtBench.h"

#include "core/data/Configs.h"
#include "core/data/Platform.h"
#include "gui/common/Workspace.h"

#include <QApplication>

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace pwbench {

double ResidentMegabytes() {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);)
        if (line.rfind("VmRSS:", 0) == 0)
            return std::stod(line.substr(6)) / 1024.0;
    return 0;
}

std::unique_ptr<pw::Workspace> WorkspaceOver(const std::string& folder, const std::string& settingsName) {
    const std::string settings = (std::filesystem::temp_directory_path() / settingsName).string();
    std::ofstream(settings, std::ios::binary)
        << "[configs]\r\nQuests=" << folder << "/Quests\r\nInfos=" << folder
        << "/Infos\r\nstringtable=" << folder << "/stringtable.ini\r\n";
    return std::make_unique<pw::Workspace>(std::make_unique<pw::TConfigs>(settings), folder);
}

} // namespace pwbench

int main(int argc, char** argv) {
    // As the program's main() starts, so that the memory measured is the program's.
    pw::platform::ReturnLargeBlocksWhenFreed();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
