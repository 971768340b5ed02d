#include "RecordCommands.h"

#include "core/data/G3Infos.h"
#include "core/data/G3Quests.h"
#include "core/data/ReadReport.h"

namespace pw::cli {
namespace {

// The pieces of a record type the commands need, so that both record kinds share one code path.
template <class Record> struct RecordTraits;

template <> struct RecordTraits<TInfo> {
    static constexpr const char* kCommand = "info-write";
    static const std::vector<std::string_view>& Keys() { return InfoFileKeys(); }
    static std::string Get(const TInfo& r, std::string_view key) { return InfoFieldText(r, key); }
    static bool Set(TInfo& r, std::string_view key, std::string_view v) {
        return SetInfoFieldText(r, key, v);
    }
};

template <> struct RecordTraits<TQuest> {
    static constexpr const char* kCommand = "quest-write";
    static const std::vector<std::string_view>& Keys() { return QuestFileKeys(); }
    static std::string Get(const TQuest& r, std::string_view key) { return QuestFieldText(r, key); }
    static bool Set(TQuest& r, std::string_view key, std::string_view v) {
        return SetQuestFieldText(r, key, v);
    }
};

// Reads a record as the editor does, and says on standard error what the editor would read silently:
// a file that is no record file, numbers that read as 0 or -1.
template <class Record> Record ReadWithWarnings(const std::string& path) {
    RequireExistingFile(path);
    Record record;
    RecordReadReport report;
    record.ReadFromFile(path, &report);
    if (!report.notRecord.empty())
        WriteErrLine("warning: " + report.notRecord);
    for (const UnreadNumber& number : report.unreadNumbers)
        WriteErrLine("warning: " + UnreadNumberMessage(number));
    return record;
}

template <class Record> int ReadRecord(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {});
    if (parsed.operands.size() != 1)
        ThrowUsage("expected exactly one FILE");
    const Record record = ReadWithWarnings<Record>(parsed.operands[0]);
    std::string out;
    for (std::string_view key : RecordTraits<Record>::Keys()) {
        out.append(key);
        out += '=';
        out += form.Printed(RecordTraits<Record>::Get(record, key));
        out += '\n';
    }
    WriteOut(out);
    return kExitOk;
}

template <class Record> void Assign(Record& record, const std::string& assignment) {
    const std::size_t eq = assignment.find('=');
    if (eq == std::string::npos)
        ThrowUsage("expected Key=Value, got \"" + MessageToUtf8(assignment) + "\"");
    const std::string_view key = std::string_view(assignment).substr(0, eq);
    const std::string_view value = std::string_view(assignment).substr(eq + 1);
    RequireOneLine("the value of " + MessageToUtf8(key), value);
    bool known = false;
    try {
        known = RecordTraits<Record>::Set(record, key, value);
    } catch (const std::runtime_error& e) {
        ThrowUsage(MessageToUtf8(e.what()));
    }
    if (!known)
        ThrowUsage(std::string("unknown key \"") + MessageToUtf8(key) + "\" for " +
                   RecordTraits<Record>::kCommand);
}

template <class Record> int WriteRecord(const Args& args, const TextForm& form) {
    const CommandArgs parsed = ParseArgs(args, {{"--from", true}});
    if (parsed.operands.empty())
        ThrowUsage("expected OUT");
    if (parsed.options.size() > 1)
        ThrowUsage("--from takes one file, once");
    Record record;
    if (parsed.Has("--from"))
        record = ReadWithWarnings<Record>(parsed.options.front().second);
    for (std::size_t i = 1; i < parsed.operands.size(); ++i)
        Assign(record, form.RecordText(parsed.operands[i], "Key=Value"));
    record.WriteToFile(parsed.operands[0]);
    return kExitOk;
}

} // namespace

int InfoRead(const Args& args, const TextForm& form) {
    return ReadRecord<TInfo>(args, form);
}
int InfoWrite(const Args& args, const TextForm& form) {
    return WriteRecord<TInfo>(args, form);
}
int QuestRead(const Args& args, const TextForm& form) {
    return ReadRecord<TQuest>(args, form);
}
int QuestWrite(const Args& args, const TextForm& form) {
    return WriteRecord<TQuest>(args, form);
}

} // namespace pw::cli
