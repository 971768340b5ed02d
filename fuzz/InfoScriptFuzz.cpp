// The InfoScript check on any grid. Input: the holder's text, "\n", then one row per line with its
// cells separated by tabs; the number of item rows is the input's length modulo 8.

#include "FuzzInput.h"

#include "core/dialogue/InfoScript.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    pwfuzz::FuzzInput input(data, size);
    const std::string holder(input.Line());
    std::vector<pw::CommandRow> rows;
    while (!input.Rest().empty()) {
        const std::string_view line = input.Line();
        pw::CommandRow row;
        std::size_t cell = 0;
        for (std::size_t start = 0; cell < row.size() && start <= line.size(); ++cell) {
            const std::size_t tab = std::min(line.find('\t', start), line.size());
            row[cell] = std::string(line.substr(start, tab - start));
            start = tab + 1;
        }
        rows.push_back(std::move(row));
    }
    const pw::ScriptCheck check = pw::CheckInfoScript(rows, size % 8, holder);
    pwfuzz::Require(check.broken == !check.message.empty(),
                    "a broken script says why, a sound one says nothing");
    return 0;
}
