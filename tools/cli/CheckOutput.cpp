#include "CheckOutput.h"

#include "CliSupport.h"
#include "JsonLine.h"

#include "core/data/Cp1251.h"
#include "core/data/Platform.h"
#include "core/data/Version.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace pw::cli {
namespace {

// The most results one run of a SARIF log may hold where code-scanning sites take them (GitHub's limit).
constexpr std::size_t kSarifResultLimit = 25000;

std::string_view Severity(const Finding& finding) {
    return finding.Error() ? "error" : "warning";
}

void PrintText(const ReportList& reports, std::size_t errors, std::size_t warnings) {
    for (const FileReport* report : reports) {
        std::string out;
        for (const Finding& finding : report->findings) {
            out += report->path;
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
template <typename Entry> void PrintEntries(const ReportList& reports, Entry entry) {
    bool first = true;
    for (const FileReport* report : reports) {
        std::string out;
        for (const Finding& finding : report->findings) {
            out += first ? "\n" : ",\n";
            first = false;
            out += entry(*report, finding);
        }
        WriteOut(out);
    }
    WriteOut(first ? "" : "\n");
}

void PrintJson(const ReportList& reports) {
    WriteOut("[");
    PrintEntries(reports, [](const FileReport& report, const Finding& finding) {
        return OneLine(Json{{"file", JsonText(report.path)},
                            {"line", finding.line != 0 ? Json(finding.line) : Json(nullptr)},
                            {"severity", Severity(finding)},
                            {"kind", InfoOf(finding.kind).name},
                            {"message", JsonText(finding.text)}});
    });
    WriteOut("]\n");
}

std::string SarifRules() {
    std::string rules;
    for (std::size_t kind = 0; kind < kFindingKinds; ++kind) {
        const FindingKindInfo& info = InfoOf(static_cast<FindingKind>(kind));
        rules.append(kind == 0 ? "\n        " : ",\n        ");
        rules += OneLine(Json{{"id", info.name},
                              {"shortDescription", {{"text", info.description}}},
                              {"defaultConfiguration", {{"level", info.error ? "error" : "warning"}}}});
    }
    return rules;
}

// A relative path is taken against %SRCROOT%, the root of the checked-out tree that code-scanning sites
// resolve it in; it is the working folder of a CI job that checks its tree.
Json Location(const std::string& path, std::size_t line) {
    const std::string uri = ArtifactUri(path);
    Json artifact = {{"uri", uri}};
    if (uri.compare(0, 5, "file:") != 0)
        artifact["uriBaseId"] = "%SRCROOT%";
    Json physical = {{"artifactLocation", artifact}};
    if (line != 0)
        physical["region"] = {{"startLine", line}};
    return Json::array({{{"physicalLocation", physical}}});
}

Json SarifResult(const FileReport& report, const Finding& finding) {
    return {{"ruleId", InfoOf(finding.kind).name},
            {"ruleIndex", static_cast<std::size_t>(finding.kind)},
            {"level", Severity(finding)},
            {"message", {{"text", JsonText(finding.text)}}},
            {"locations", Location(report.path, finding.line)}};
}

using Result = std::pair<const FileReport*, const Finding*>;

// The results a log holds: all of them, or when there are more than a site takes, the errors first and
// then the warnings, as many as it takes. Says on standard error how many were left out; 0 for none.
std::size_t KeepWithinLimit(std::vector<Result>& results) {
    if (results.size() <= kSarifResultLimit)
        return 0;
    std::stable_partition(results.begin(), results.end(),
                          [](const Result& result) { return result.second->Error(); });
    const std::size_t left = results.size() - kSarifResultLimit;
    WriteErrLine("Находок " + std::to_string(results.size()) +
                 ", а сайты проверки кода принимают не больше " + std::to_string(kSarifResultLimit) +
                 " в одном журнале SARIF: в него вошли первые " + std::to_string(kSarifResultLimit) +
                 " (сначала ошибки), не вошли " + std::to_string(left));
    results.resize(kSarifResultLimit);
    return left;
}

void PrintSarif(const ReportList& reports) {
    std::vector<Result> results;
    for (const FileReport* report : reports)
        for (const Finding& finding : report->findings)
            results.emplace_back(report, &finding);
    const std::size_t left = KeepWithinLimit(results);
    WriteOut(std::string("{\n  \"$schema\": \"https://json.schemastore.org/sarif-2.1.0.json\",\n"
                         "  \"version\": \"2.1.0\",\n  \"runs\": [{\n"
                         "    \"tool\": {\"driver\": {\"name\": \"plotwright-cli\", \"version\": \"") +
             kProgramVersion + "\", \"rules\": [" + SarifRules() + "]}},\n    \"results\": [");
    std::string out;
    for (std::size_t i = 0; i < results.size(); ++i) {
        out.append(i == 0 ? "\n      " : ",\n      ")
            .append(OneLine(SarifResult(*results[i].first, *results[i].second)));
        if (out.size() >= 64 * 1024)
            WriteOut(std::exchange(out, {}));
    }
    out += results.empty() ? "" : "\n";
    out += "    ]";
    if (left != 0)
        out += ",\n    \"properties\": " +
               OneLine(Json{{"omittedResults", left}, {"resultLimit", kSarifResultLimit}});
    WriteOut(out + "\n  }]\n}\n");
}

bool Unreserved(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

} // namespace

void PrintFindings(const ReportList& reports, CheckFormat format, std::size_t errors, std::size_t warnings) {
    switch (format) {
    case CheckFormat::Text:
        return PrintText(reports, errors, warnings);
    case CheckFormat::Json:
        return PrintJson(reports);
    case CheckFormat::Sarif:
        return PrintSarif(reports);
    }
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
