// check --format json and sarif: the findings of the text form, one entry each, as parsers and
// code-scanning sites read them.

#include "CliRunner.h"
#include "JsonReader.h"
#include "TempDir.h"

#include "core/data/Version.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <map>

namespace pwtest {
namespace {

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
std::string AsTextLine(const JsonValue& finding) {
    std::string line = finding["file"].text;
    if (finding["line"].type != JsonValue::Type::Null)
        line.append(":").append(std::to_string(static_cast<long>(finding["line"].number)));
    return line.append(": ").append(finding["severity"].text).append(": ").append(finding["message"].text);
}

TEST(CheckFormats, JsonHoldsTheTextFormsFindingsOneObjectEachWithItsKind) {
    FormatsLibrary lib;
    for (const bool verbose : {false, true}) {
        const CliResult text = RunCli(lib.Args("text", verbose));
        const CliResult json = RunCli(lib.Args("json", verbose));
        EXPECT_EQ(json.code, 1);
        EXPECT_EQ(json.code, text.code);
        const JsonValue findings = ParseJson(json.out);
        ASSERT_EQ(findings.type, JsonValue::Type::Array);
        std::vector<std::string> lines;
        std::map<std::string, int> kinds;
        for (const JsonValue& finding : findings.items) {
            lines.push_back(AsTextLine(finding));
            ++kinds[finding["kind"].text];
        }
        EXPECT_EQ(lines, TextFindings(text.out));
        EXPECT_EQ(kinds, (std::map<std::string, int>{{"compile-error", 1},
                                                     {"missing-parent", 1},
                                                     {"missing-string", 1},
                                                     {"no-equals", verbose ? 22 : 21},
                                                     {"repeated-id", 1}}));
    }
    const JsonValue findings = ParseJson(RunCli(lib.Args("json")).out);
    EXPECT_EQ(findings.items[0]["line"].number, 3); // the repeated ID
    EXPECT_EQ(findings.items[0]["file"].text, lib.dir.File("stringtable.ini"));
    const std::string clean = lib.dir.File("Infos/Broken.info");
    WriteBytes(clean, "[Info]\r\nName=Clean\r\nOwner=Diego\r\n");
    const CliResult none = RunCli({"check", "--format", "json", clean});
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(ParseJson(none.out).items.size(), 0u);
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
    const JsonValue log = ParseJson(sarif.out);
    EXPECT_EQ(log["version"].text, "2.1.0");
    ASSERT_EQ(log["runs"].items.size(), 1u);
    const JsonValue& run = log["runs"].items[0];
    const JsonValue& driver = run["tool"]["driver"];
    EXPECT_EQ(driver["name"].text, "plotwright-cli");
    EXPECT_EQ(driver["version"].text, pw::kProgramVersion);
    const JsonValue findings = ParseJson(RunCli(lib.Args("json")).out);
    const std::vector<JsonValue>& results = run["results"].items;
    ASSERT_EQ(results.size(), findings.items.size());
    for (std::size_t i = 0; i < results.size(); ++i) {
        const JsonValue& result = results[i];
        const JsonValue& finding = findings.items[i];
        const std::size_t rule = static_cast<std::size_t>(result["ruleIndex"].number);
        EXPECT_EQ(driver["rules"].items.at(rule)["id"].text, finding["kind"].text);
        EXPECT_EQ(result["ruleId"].text, finding["kind"].text);
        EXPECT_EQ(result["level"].text, finding["severity"].text);
        EXPECT_EQ(result["message"]["text"].text, finding["message"].text);
        const JsonValue& location = result["locations"].items.at(0)["physicalLocation"];
        EXPECT_EQ(FilePathOf(location["artifactLocation"]["uri"].text), FileUri(finding["file"].text));
        EXPECT_FALSE(location["artifactLocation"].Has("uriBaseId"));
        EXPECT_EQ(location.Has("region"), finding["line"].type != JsonValue::Type::Null);
        if (location.Has("region")) {
            EXPECT_EQ(location["region"]["startLine"].number, finding["line"].number);
        }
    }

    // A path relative to the working folder stays relative, against the root of the checked-out tree.
    const std::string relative =
        Utf8Path(std::filesystem::relative(FsPath(lib.dir.File("Infos/Broken.info"))));
    if (relative.empty())
        GTEST_SKIP() << "the temporary folder is on another drive than the working folder";
    const JsonValue relativeLog = ParseJson(RunCli({"check", "--format", "sarif", relative}).out);
    const JsonValue& artifact =
        relativeLog["runs"].items[0]["results"].items.at(0)["locations"].items[0]["physicalLocation"]
                                                                              ["artifactLocation"];
    EXPECT_EQ(artifact["uri"].text, Slashes(relative));
    EXPECT_EQ(artifact["uriBaseId"].text, "%SRCROOT%");
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
    const JsonValue validation = ParseJson(ReadBytes(lib.dir.File("validation.sarif")));
    ASSERT_EQ(validation["runs"].items.size(), 1u);
    for (const JsonValue& result : validation["runs"].items[0]["results"].items)
        EXPECT_NE(result.Has("level") ? result["level"].text : "warning", "error")
            << result["ruleId"].text << " " << ReadBytes(lib.dir.File("validation.txt"));
}

} // namespace
} // namespace pwtest
