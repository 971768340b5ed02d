#include "CheckOutput.h"

#include "CliSupport.h"

#include "core/data/Cp1251.h"
#include "core/data/Platform.h"
#include "core/data/Version.h"

#include <cstdio>

namespace pw::cli {
namespace {

std::string_view Severity(const Finding& finding) {
    return finding.Error() ? "error" : "warning";
}

void PrintText(const std::vector<FileReport>& reports, std::size_t errors, std::size_t warnings) {
    for (const FileReport& report : reports) {
        std::string out;
        for (const Finding& finding : report.findings) {
            out += report.path;
            if (finding.line != 0)
                out += ':' + std::to_string(finding.line);
            out.append(": ").append(Severity(finding)).append(": ");
            out += finding.text;
            out += '\n';
        }
        WriteOut(out);
    }
    WriteOut("Файлов: " + std::to_string(reports.size()) + ", ошибок: " + std::to_string(errors) +
             ", предупреждений: " + std::to_string(warnings) + "\n");
}

// The entries of a JSON array or the results of a SARIF run: one a line, each report's written at once.
template <typename Entry> void PrintEntries(const std::vector<FileReport>& reports, Entry entry) {
    bool first = true;
    for (const FileReport& report : reports) {
        std::string out;
        for (const Finding& finding : report.findings) {
            out += first ? "\n" : ",\n";
            first = false;
            entry(out, report, finding);
        }
        WriteOut(out);
    }
    WriteOut(first ? "" : "\n");
}

void PrintJson(const std::vector<FileReport>& reports) {
    WriteOut("[");
    PrintEntries(reports, [](std::string& out, const FileReport& report, const Finding& finding) {
        out.append("{\"file\": ").append(JsonString(report.path));
        out.append(", \"line\": ").append(finding.line != 0 ? std::to_string(finding.line) : "null");
        out.append(", \"severity\": \"").append(Severity(finding));
        out.append("\", \"kind\": \"").append(InfoOf(finding.kind).name);
        out.append("\", \"message\": ").append(JsonString(finding.text)).append("}");
    });
    WriteOut("]\n");
}

std::string SarifRules() {
    std::string rules;
    for (std::size_t kind = 0; kind < kFindingKinds; ++kind) {
        const FindingKindInfo& info = InfoOf(static_cast<FindingKind>(kind));
        rules.append(kind == 0 ? "\n" : ",\n");
        rules.append("        {\"id\": \"").append(info.name);
        rules.append("\", \"shortDescription\": {\"text\": ").append(JsonString(info.description));
        rules.append("}, \"defaultConfiguration\": {\"level\": \"").append(info.error ? "error" : "warning");
        rules.append("\"}}");
    }
    return rules;
}

// A relative path is taken against %SRCROOT%, the root of the checked-out tree that code-scanning sites
// resolve it in; it is the working folder of a CI job that checks its tree.
void AppendLocation(std::string& out, const std::string& path, std::size_t line) {
    const std::string uri = ArtifactUri(path);
    out.append("\"locations\": [{\"physicalLocation\": {\"artifactLocation\": {\"uri\": ")
        .append(JsonString(uri));
    if (uri.compare(0, 5, "file:") != 0)
        out.append(", \"uriBaseId\": \"%SRCROOT%\"");
    out.append("}");
    if (line != 0)
        out.append(", \"region\": {\"startLine\": ").append(std::to_string(line)).append("}");
    out.append("}}]");
}

void PrintSarif(const std::vector<FileReport>& reports) {
    WriteOut(std::string("{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
                         "  \"version\": \"2.1.0\",\n  \"runs\": [{\n"
                         "    \"tool\": {\"driver\": {\"name\": \"plotwright-cli\", \"version\": \"") +
             kProgramVersion + "\", \"rules\": [" + SarifRules() + "]}},\n    \"results\": [");
    PrintEntries(reports, [](std::string& out, const FileReport& report, const Finding& finding) {
        out.append("      {\"ruleId\": \"").append(InfoOf(finding.kind).name);
        out.append("\", \"ruleIndex\": ").append(std::to_string(static_cast<std::size_t>(finding.kind)));
        out.append(", \"level\": \"").append(Severity(finding));
        out.append("\", \"message\": {\"text\": ").append(JsonString(finding.text)).append("}, ");
        AppendLocation(out, report.path, finding.line);
        out.append("}");
    });
    WriteOut("    ]\n  }]\n}\n");
}

// The length of the UTF-8 character at the start of text; 0 when no valid one starts there.
std::size_t Utf8CharacterLength(std::string_view text) {
    const auto lead = static_cast<unsigned char>(text[0]);
    const std::size_t length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : 2;
    const std::optional<std::u32string> decoded = DecodeUtf8(text.substr(0, length));
    return decoded && decoded->size() == 1 ? length : 0;
}

bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

void PrintFindings(const std::vector<FileReport>& reports, CheckFormat format, std::size_t errors,
                   std::size_t warnings) {
    switch (format) {
    case CheckFormat::Text:
        return PrintText(reports, errors, warnings);
    case CheckFormat::Json:
        return PrintJson(reports);
    case CheckFormat::Sarif:
        return PrintSarif(reports);
    }
}

std::string JsonString(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80) {
            const std::size_t length = Utf8CharacterLength(text.substr(i));
            if (length != 0)
                out.append(text.substr(i, length));
            else
                AppendUtf8(out, Cp1251ToUnicode(byte));
            i += length != 0 ? length : 1;
            continue;
        }
        ++i;
        if (c == '"' || c == '\\') {
            out.append({'\\', c});
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (byte < 0x20) {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\u%04X", static_cast<unsigned>(byte));
            out += escape;
        } else {
            out += c;
        }
    }
    return out + "\"";
}

std::string ArtifactUri(std::string_view path) {
    const auto separator = [&path](std::size_t at) {
        return at < path.size() && platform::IsPathSeparator(path[at]);
    };
    const bool windows = platform::PathSeparator() == '\\';
    std::string uri;
    std::size_t at = 0;
    if (windows && path.size() >= 2 && path[1] == ':' && separator(2) &&
        ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'))) {
        uri.append("file:///").append(path.substr(0, 2)); // a drive: "file:///C:/…"
        at = 2;
    } else if (windows && separator(0) && separator(1)) {
        uri = "file:"; // a share: "file://server/…"
    } else if (separator(0)) {
        uri = "file://";
    } else {
        while (path.size() > at + 1 && path[at] == '.' && separator(at + 1))
            at += 2; // "./Infos" is "Infos"
    }
    for (; at < path.size(); ++at) {
        const char c = path[at];
        if (separator(at) || Unreserved(c)) {
            uri += separator(at) ? '/' : c;
        } else {
            char escape[4];
            std::snprintf(escape, sizeof escape, "%%%02X",
                          static_cast<unsigned>(static_cast<unsigned char>(c)));
            uri += escape;
        }
    }
    return uri;
}

} // namespace pw::cli
