#include "QuestPipeline.h"

namespace pw::cli {

namespace {

void MapAndFill(QuestRun& run) {
    run.model = LoadQuestModel(run.loaded);
    run.compiled = FillQuestRecord(run.model);
}

} // namespace

QuestRun LoadAndFillQuest(const std::string& path) {
    QuestRun run;
    run.loaded.ReadFromFile(path, &run.read);
    MapAndFill(run);
    return run;
}

QuestRun LoadAndFillQuestText(std::string_view bytes) {
    QuestRun run;
    run.loaded.ReadFromText(bytes, &run.read);
    MapAndFill(run);
    return run;
}

} // namespace pw::cli
