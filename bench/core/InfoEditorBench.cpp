// The dialogue editor's logic on a long dialogue: loading a file into the editor's model and compiling
// the model back into a file, for a dialogue of 1,000 command rows.

#include "core/data/G3Infos.h"
#include "core/dialogue/InfoEditorModel.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

// A dialogue of rows Say/GiveXP/Give/SetGameEvent in turn, ending with End.
pw::TInfo LongInfo(int rows) {
    pw::TInfo info;
    info.Name = "Long_Dialogue";
    info.Owner = "Diego";
    info.SortID = -1;
    info.ConditionType = 3;
    info.InfoType = 3;
    info.Folder = "Myrtana/Ardea_City/";
    info.CondItems = "It_Gold;It_Apple";
    info.CondItemAmounts = "10;2";
    info.CondItemContainer = "Diego";
    info.CondSecondaryNPC = "Gorn;Milten";
    info.CondSecondaryNPCstates = "0;3";
    for (int i = 0; i < rows; ++i) {
        const bool last = i + 1 == rows;
        const char* sep = last ? "" : ";";
        const int kind = last ? 4 : i % 4;
        static const char* const commands[] = {"Say", "GiveXP", "Give", "SetGameEvent", "End"};
        info.InfoScript_Commands += std::string(commands[kind]) + sep;
        info.InfoScript_Entities1 += std::string(kind == 0 ? "owner" : kind == 2 ? "npc" : "") + sep;
        info.InfoScript_Entities2 += std::string(kind == 2 ? "player" : "") + sep;
        info.InfoScript_IDs1 += (kind == 1   ? std::to_string(50 + i)
                                 : kind == 2 ? std::string("It_Gold")
                                 : kind == 3 ? "Event_" + std::to_string(i)
                                             : std::string()) +
                                sep;
        info.InfoScript_IDs2 += std::string(kind == 2 ? "5" : "") + sep;
        info.InfoScript_Texts += (kind == 0 ? "LONG_DIALOGUE_" + std::to_string(i) : std::string()) + sep;
    }
    return info;
}

struct Scratch {
    Scratch() {
        folder = (fs::temp_directory_path() / "plotwright-bench-long").string();
        fs::create_directories(folder);
        input = folder + "/Long_Dialogue_info_G3_World_01.info";
        LongInfo(1000).WriteToFile(input);
    }
    std::string folder;
    std::string input;
};

const Scratch& Files() {
    static const Scratch scratch;
    return scratch;
}

void BM_LoadLongDialogue(benchmark::State& state) {
    for (auto _ : state) {
        pw::TInfo info;
        info.ReadFromFile(Files().input);
        benchmark::DoNotOptimize(pw::LoadInfoModel(info));
    }
}
BENCHMARK(BM_LoadLongDialogue)->Unit(benchmark::kMillisecond);

void BM_CompileLongDialogue(benchmark::State& state) {
    pw::TInfo info;
    info.ReadFromFile(Files().input);
    const pw::InfoEditorModel model = pw::LoadInfoModel(info).model;
    const pw::CompileSettings settings{false, Files().folder, Files().folder + "/out"};
    fs::create_directories(settings.InfosPath);
    for (auto _ : state) {
        pw::CompileOutcome outcome = pw::CompileInfo(model, settings);
        if (outcome.status != pw::CompileStatus::Written)
            state.SkipWithError(outcome.message.c_str());
        benchmark::DoNotOptimize(outcome);
    }
}
BENCHMARK(BM_CompileLongDialogue)->Unit(benchmark::kMillisecond);

} // namespace
