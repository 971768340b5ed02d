// The diagnostics of an open document: check's findings for the file and the names the library lacks, or
// the string table's lint, each placed on the key or list element it is about.

#include "../CheckReport.h"
#include "../FileCheck.h"
#include "LspFeatures.h"
#include "LspRecord.h"

#include "core/data/Cp1251.h"
#include "core/data/MessageText.h"
#include "core/data/StrUtilsEx.h"
#include "core/library/ValueSpans.h"
#include "core/strings/TableLint.h"

namespace pw::lsp {
namespace {

using cli::FileReport;
using cli::Finding;
using cli::FindingKind;
using cli::Reference;
using nlohmann::json;

std::pair<std::size_t, std::size_t> SpanOf(std::string_view text, const KeyLine& line,
                                           const Finding& finding) {
    const std::string_view separators = SeparatorsOf(finding.key);
    if (separators.empty() || (finding.element == cli::kWholeValue && finding.name.empty()))
        return line.value.begin < line.value.end ? std::pair{line.value.begin, line.value.end}
                                                 : std::pair{line.name.begin, line.name.end};
    const std::vector<TextSpan> elements = ElementSpans(text, line.value, separators);
    for (std::size_t k = 0; k < elements.size(); ++k) {
        const TextSpan span = elements[k];
        const bool named = finding.element == cli::kWholeValue &&
                           AsciiEqualNoCase(text.substr(span.begin, span.end - span.begin), finding.name);
        if (k == finding.element || named)
            return span.begin < span.end ? std::pair{span.begin, span.end}
                                         : std::pair{line.value.begin, line.value.end};
    }
    return {line.name.begin, line.name.end};
}

// The range of a finding: its key's value or element where check's line holds the key, else the whole of
// check's line (the section's header, or a later line of a key the dialogue reader takes), else the first
// line. So a diagnostic stands on the line check gives.
json RangeOf(const Document& document, std::string_view section, const Finding& finding) {
    const DocumentText& text = document.text;
    if (!finding.key.empty()) {
        const auto lines = FindKeyLines(text.Cp1251(), section, {finding.key});
        if (lines[0] && (finding.line == 0 || lines[0]->number == finding.line)) {
            const auto [begin, end] = SpanOf(text.Cp1251(), *lines[0], finding);
            return RangeJson(text.PositionOf(begin), text.PositionOf(end));
        }
    }
    const std::size_t line = finding.line == 0 ? 0 : finding.line - 1;
    return RangeJson({line, 0}, text.PositionOf(text.LineStart(line) + text.Line(line).size()));
}

// The protocol's severities. A line not translated into the chosen language is information: the editor
// shows it without calling the file wrong.
constexpr int kError = 1, kWarning = 2, kInformation = 3;

json DiagnosticOf(const Finding& finding, json range) {
    const cli::FindingKindInfo& info = cli::InfoOf(finding.kind);
    const int severity = finding.kind == FindingKind::UntranslatedString ? kInformation
                         : info.error                                    ? kError
                                                                         : kWarning;
    return {{"range", std::move(range)},
            {"severity", severity},
            {"source", "plotwright"},
            {"code", std::string(info.name)},
            {"message", finding.text},
            {"data", {{"kind", std::string(info.name)}, {"name", Utf8(finding.name)}}}};
}

// The quests and string IDs a file names, looked up in the library; with a language chosen, the string
// IDs whose text in it is not translated, as check's --require-language finds them.
void ResolveReferences(FileReport& report, const Library& library) {
    for (const Reference& reference : report.references) {
        if (reference.kind == Reference::Kind::Quest &&
            library.snapshot->index.Quests(reference.name).empty())
            report.findings.push_back(cli::MissingQuestFinding(reference));
        if (reference.kind != Reference::Kind::StringId || !library.table)
            continue;
        const TableView::Entry* entry = library.table->Find(reference.name);
        if (!entry)
            report.findings.push_back(cli::MissingStringFinding(reference));
        if (!entry || !library.language)
            continue;
        const CellState state =
            StateOf(library.table->ValueText(*entry), *library.language, library.table->Layout().languages);
        if (state != CellState::Translated)
            report.findings.push_back(cli::UntranslatedStringFinding(reference, *library.language, state));
    }
}

FileReport DialogueReport(const Document& document, const Library& library) {
    FileReport report = cli::CheckRecordText(document.path, RecordKind::Dialogue, document.text.Cp1251(),
                                             {library.table != nullptr, false});
    ResolveReferences(report, library);
    if (!report.parent.empty() && library.snapshot->index.Dialogues(report.parent).empty())
        report.findings.push_back(cli::MissingParentFinding(report.parent, report.parentLine));
    return report;
}

// The file of the library before this one that has the quest's name, as check names the second of two.
const LibraryEntry* EarlierQuest(const Document& document, const std::string& name,
                                 const LibraryIndex& index) {
    const std::vector<std::size_t>& quests = index.Quests(name);
    for (std::size_t i : quests)
        if (SamePath(index[i].path, document.path))
            return i == quests.front() ? nullptr : &index[quests.front()];
    return quests.empty() ? nullptr : &index[quests.front()];
}

FileReport QuestReport(const Document& document, const Library& library) {
    FileReport report = cli::CheckRecordText(document.path, RecordKind::Quest, document.text.Cp1251(),
                                             {library.table != nullptr, false});
    ResolveReferences(report, library);
    const LibraryIndex& index = library.snapshot->index;
    for (const std::string& quest : report.finishedQuests)
        if (index.Quests(quest).empty())
            report.findings.push_back(cli::MissingEarlierQuestFinding(quest, report.finishedQuestsLine));
    if (const LibraryEntry* earlier =
            report.questName.empty() ? nullptr : EarlierQuest(document, report.questName, index))
        report.findings.push_back(
            cli::DuplicateQuestFinding(report.questName, earlier->path, report.nameLine));
    return report;
}

json RecordDiagnostics(const Document& document, const Library& library) {
    const bool quest = document.kind == DocumentKind::Quest;
    FileReport report = quest ? QuestReport(document, library) : DialogueReport(document, library);
    cli::DropRepeatedFindings(report);
    json diagnostics = json::array();
    for (const Finding& finding : report.findings)
        diagnostics.push_back(DiagnosticOf(finding, RangeOf(document, quest ? "Quest" : "Info", finding)));
    return diagnostics;
}

// The table's text in its file's encoding: UTF-16 or UTF-8 where the file on disk is, else Windows-1251.
std::string TableBytes(const Document& document, const Library& library) {
    const TextEncoding encoding = library.table && SamePath(library.table->Path(), document.path)
                                      ? library.table->Encoding()
                                      : TextEncoding::Ansi;
    std::string bytes(MarkOf(encoding));
    if (encoding == TextEncoding::Utf16LeBom)
        if (const std::optional<std::string> units = Utf8ToUtf16Le(document.text.Utf8()))
            return bytes.append(*units);
    if (IsUtf8(encoding))
        return bytes.append(document.text.Utf8());
    return document.text.Cp1251();
}

json TableDiagnostics(const Document& document, const Library& library) {
    json diagnostics = json::array();
    for (const TableFinding& finding : LintStringTable(TableBytes(document, library))) {
        const std::size_t line = finding.line - 1;
        const Position end =
            document.text.PositionOf(document.text.LineStart(line) + document.text.Line(line).size());
        Finding shown{static_cast<FindingKind>(static_cast<std::size_t>(FindingKind::RepeatedId) +
                                               static_cast<std::size_t>(finding.kind)),
                      finding.text};
        diagnostics.push_back(DiagnosticOf(shown, RangeJson({line, 0}, end)));
    }
    return diagnostics;
}

} // namespace

json Diagnostics(const Document& document, const Library& library) {
    switch (document.kind) {
    case DocumentKind::Dialogue:
    case DocumentKind::Quest:
        return RecordDiagnostics(document, library);
    case DocumentKind::Table:
        return TableDiagnostics(document, library);
    case DocumentKind::Other:
        break;
    }
    return json::array();
}

} // namespace pw::lsp
