#include "QuestPipeline.h"

namespace pw::cli {

namespace {

void Fill(QuestRun& run) {
    run.model = LoadQuestModel(run.loaded);
    run.compiled = FillQuestRecord(run.model);
}

} // namespace

QuestRun LoadAndFillQuest(const std::string& path) {
    QuestRun run;
    run.loaded.ReadFromFile(path, &run.read);
    Fill(run);
    return run;
}

QuestRun FillQuestBytes(std::string_view bytes) {
    QuestRun run;
    run.loaded.ReadFromBytes(bytes, &run.read);
    Fill(run);
    return run;
}

} // namespace pw::cli
