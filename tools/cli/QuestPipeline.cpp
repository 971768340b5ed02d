#include "QuestPipeline.h"

namespace pw::cli {

QuestRun LoadAndFillQuest(const std::string& path) {
    QuestRun run;
    run.loaded.ReadFromFile(path, &run.read);
    run.model = LoadQuestModel(run.loaded);
    run.compiled = FillQuestRecord(run.model);
    return run;
}

} // namespace pw::cli
