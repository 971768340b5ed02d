// A dialogue file of any bytes read, mapped onto the editor and compiled again (without writing).

#include "FuzzInput.h"

#include "core/data/G3Infos.h"
#include "core/dialogue/InfoEditorModel.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static pwfuzz::ScratchFile scratch;
    const std::string& path = scratch.Fill(std::string_view(reinterpret_cast<const char*>(data), size));
    pw::TInfo info;
    info.ReadFromFile(path);
    const pw::LoadedInfo loaded = pw::LoadInfoModel(info);
    pw::CompileOutcome outcome = pw::CheckInfoHeader(loaded.model);
    pw::PrepareInfo(loaded.model, {true, "/nonexistent", "/nonexistent"}, outcome);
    pwfuzz::Require(outcome.Failed() == !outcome.caption.empty(),
                    "a refused compile says why, in a titled box");
    if (outcome.status == pw::CompileStatus::Ready)
        (void)pw::LoadInfoModel(outcome.info);
    return 0;
}
