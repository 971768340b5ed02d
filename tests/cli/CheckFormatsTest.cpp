// check --format json and sarif: the findings of the text form, one entry each, as parsers and
// code-scanning sites read them.

#include "CliRunner.h"
#include "TempDir.h"

#include "core/data/Version.h"

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace pwtest {
namespace {

using Json = nlohmann::json;

// A library whose findings have a line (the table's) or none, are errors and warnings, and whose texts
// need escaping: quotes, a backslash, a control character and Cyrillic letters.
struct FormatsLibrary {
    TempDir dir;
    FormatsLibrary() {
        std::string table = "[LocAdmin_Strings]\r\nA_1=x;\r\nA_1=y;\r\n";
        for (int i = 0; i < 22; ++i) // two more than are listed without --verbose
            table += "no entry\r\n";
        WriteBytes(dir.File("stringtable.ini"), table);
        WriteBytes(dir.File("Infos/Отец Diego.info"),
                   Ansi("[Info]\r\nName=Child\r\nOwner=Diego\r\nParent=Отец \"A\\B\"\x01"
                        "C\r\n"
                        "InfoScript_Commands=Say\r\nInfoScript_Entities1=owner\r\nInfoScript_Texts=B_2\r\n"));
        WriteBytes(dir.File("Infos/Broken.info"), "[Info]\r\nName=Broken\r\n");
    }
    std::vector<std::string> Args(const std::string& format, bool verbose = false) const {
        std::vector<std::string> args = {
            "check", "--format", format, "--stringtable", dir.File("stringtable.ini"), dir.File("Infos")};
        if (verbose)
            args.insert(args.begin() + 1, "--verbose");
        return args;
    }
};

// The finding lines of check's text form, without the count line.
std::vector<std::string> TextFindings(const std::string& out) {
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = out.find('\n', start)) != std::string::npos; start = end + 1)
        lines.push_back(out.substr(start, end - start));
    EXPECT_EQ(lines.back().rfind("Файлов: ", 0), 0u);
    lines.pop_back();
    return lines;
}

// A finding of the JSON form as the text form prints it.
std::string AsTextLine(const Json& finding) {
    std::string line = finding.at("file");
    if (!finding.at("line").is_null())
        line.append(":").append(std::to_string(finding.at("line").get<long>()));
    return line.append(": ")
        .append(finding.at("severity").get<std::string>())
        .append(": ")
        .append(finding.at("message").get<std::string>());
}

TEST(CheckFormats, JsonHoldsTheTextFormsFindingsOneObjectEachWithItsKind) {
    FormatsLibrary lib;
    for (const bool verbose : {false, true}) {
        const CliResult text = RunCli(lib.Args("text", verbose));
        const CliResult json = RunCli(lib.Args("json", verbose));
        EXPECT_EQ(json.code, 1);
        EXPECT_EQ(json.code, text.code);
        const Json findings = Json::parse(json.out);
        ASSERT_TRUE(findings.is_array());
        std::vector<std::string> lines;
        std::map<std::string, int> kinds;
        for (const Json& finding : findings) {
            lines.push_back(AsTextLine(finding));
            ++kinds[finding.at("kind")];
        }
        EXPECT_EQ(lines, TextFindings(text.out));
        EXPECT_EQ(kinds, (std::map<std::string, int>{{"compile-error", 1},
                                                     {"missing-parent", 1},
                                                     {"missing-string", 1},
                                                     {"no-equals", verbose ? 22 : 21},
                                                     {"repeated-id", 1}}));
    }
    const Json findings = Json::parse(RunCli(lib.Args("json")).out);
    EXPECT_EQ(findings.at(0).at("line"), 3); // the repeated ID
    EXPECT_EQ(findings.at(0).at("file"), lib.dir.File("stringtable.ini"));
    const std::string clean = lib.dir.File("Infos/Broken.info");
    WriteBytes(clean, "[Info]\r\nName=Clean\r\nOwner=Diego\r\n");
    const CliResult none = RunCli({"check", "--format", "json", clean});
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(Json::parse(none.out).size(), 0u);
    EXPECT_EQ(RunCli({"check", "--format", "xml", clean}).code, 2);
}

// The path a file URI names, percent-decoded, with "/" between folders.
std::string FilePathOf(const std::string& uri) {
    std::string path;
    for (std::size_t i = 0; i < uri.size(); ++i) {
        EXPECT_TRUE(std::isalnum(static_cast<unsigned char>(uri[i])) ||
                    std::string("-._~/:%").find(uri[i]) != std::string::npos)
            << uri;
        path += uri[i] == '%' ? static_cast<char>(std::stoi(uri.substr(i + 1, 2), nullptr, 16)) : uri[i];
        i += uri[i] == '%' ? 2 : 0;
    }
    return path;
}

std::string Slashes(std::string path) {
#ifdef _WIN32
    std::replace(path.begin(), path.end(), '\\', '/');
#endif
    return path;
}

// The file URI of an absolute path, decoded: "file:///C:/…" on Windows.
std::string FileUri(const std::string& path) {
    return (path.front() == '/' ? "file://" : "file:///") + Slashes(path);
}

TEST(CheckFormats, SarifHoldsOneRunWithARuleForEachKindAndAResultForEachFinding) {
    FormatsLibrary lib;
    const CliResult sarif = RunCli(lib.Args("sarif"));
    EXPECT_EQ(sarif.code, 1);
    const Json log = Json::parse(sarif.out);
    EXPECT_EQ(log.at("version"), "2.1.0");
    ASSERT_EQ(log.at("runs").size(), 1u);
    const Json& run = log.at("runs").at(0);
    const Json& driver = run.at("tool").at("driver");
    EXPECT_EQ(driver.at("name"), "plotwright-cli");
    EXPECT_EQ(driver.at("version"), pw::kProgramVersion);
    EXPECT_FALSE(run.contains("properties"));
    const Json findings = Json::parse(RunCli(lib.Args("json")).out);
    const Json& results = run.at("results");
    ASSERT_EQ(results.size(), findings.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
        const Json& result = results.at(i);
        const Json& finding = findings.at(i);
        EXPECT_EQ(driver.at("rules").at(result.at("ruleIndex").get<std::size_t>()).at("id"),
                  finding.at("kind"));
        EXPECT_EQ(result.at("ruleId"), finding.at("kind"));
        EXPECT_EQ(result.at("level"), finding.at("severity"));
        EXPECT_EQ(result.at("message").at("text"), finding.at("message"));
        const Json& location = result.at("locations").at(0).at("physicalLocation");
        EXPECT_EQ(FilePathOf(location.at("artifactLocation").at("uri")), FileUri(finding.at("file")));
        EXPECT_FALSE(location.at("artifactLocation").contains("uriBaseId"));
        EXPECT_EQ(location.contains("region"), !finding.at("line").is_null());
        if (location.contains("region")) {
            EXPECT_EQ(location.at("region").at("startLine"), finding.at("line"));
        }
    }

    // A path relative to the working folder stays relative, against the root of the checked-out tree.
    const std::string relative =
        Utf8Path(std::filesystem::relative(FsPath(lib.dir.File("Infos/Broken.info"))));
    if (relative.empty())
        GTEST_SKIP() << "the temporary folder is on another drive than the working folder";
    const Json relativeLog = Json::parse(RunCli({"check", "--format", "sarif", relative}).out);
    const Json& artifact = relativeLog.at("runs")
                               .at(0)
                               .at("results")
                               .at(0)
                               .at("locations")
                               .at(0)
                               .at("physicalLocation")
                               .at("artifactLocation");
    EXPECT_EQ(artifact.at("uri"), Slashes(relative));
    EXPECT_EQ(artifact.at("uriBaseId"), "%SRCROOT%");
}

TEST(CheckFormats, SarifPassesTheSarifMultitoolsValidation) {
    const std::string multitool = PLOTWRIGHT_SARIF_MULTITOOL;
    if (multitool.empty() || !Exists(multitool))
        GTEST_SKIP()
            << "the SARIF Multitool is not installed (scripts/install-deps installs it where it can)";
    FormatsLibrary lib;
    WriteBytes(lib.dir.File("check.sarif"), RunCli(lib.Args("sarif")).out);
    const std::string command = "\"" + multitool + "\" validate \"" + lib.dir.File("check.sarif") +
                                "\" -o \"" + lib.dir.File("validation.sarif") + "\" > \"" +
                                lib.dir.File("validation.txt") + "\"";
    ASSERT_EQ(std::system(command.c_str()), 0) << ReadBytes(lib.dir.File("validation.txt"));
    const Json validation = Json::parse(ReadBytes(lib.dir.File("validation.sarif")));
    ASSERT_EQ(validation.at("runs").size(), 1u);
    for (const Json& result : validation.at("runs").at(0).at("results"))
        EXPECT_NE(result.value("level", "warning"), "error")
            << result.at("ruleId") << " " << ReadBytes(lib.dir.File("validation.txt"));
}

// A code-scanning site takes 25,000 results in a run: of more, the errors come first and the rest are
// counted, on standard error and in the run's properties.
TEST(CheckFormats, SarifKeepsTheFirst25000ResultsErrorsFirst) {
    TempDir dir;
    std::string table = "[LocAdmin_Strings]\r\n";
    for (int i = 0; i < 25010; ++i)
        table += "no entry\r\n";
    WriteBytes(dir.File("stringtable.ini"), table);
    WriteBytes(dir.File("Infos/Broken.info"), "[Info]\r\nName=Broken\r\n");
    const CliResult r = RunCli({"check", "--verbose", "--format", "sarif", "--stringtable",
                                dir.File("stringtable.ini"), dir.File("Infos")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "Находок 25011, а сайты проверки кода принимают не больше 25000 в одном журнале SARIF: в него "
              "вошли первые 25000 (сначала ошибки), не вошли 11\n");
    const Json run = Json::parse(r.out).at("runs").at(0);
    const Json& results = run.at("results");
    ASSERT_EQ(results.size(), 25000u);
    EXPECT_EQ(results.at(0).at("ruleId"), "compile-error");
    EXPECT_EQ(results.at(1).at("ruleId"), "no-equals");
    EXPECT_EQ(run.at("properties"), (Json{{"omittedResults", 11}, {"resultLimit", 25000}}));
}

} // namespace
} // namespace pwtest
