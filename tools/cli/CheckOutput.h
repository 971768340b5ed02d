#pragma once
// The forms check prints its findings in: GCC-style lines for people and editors, a JSON array for
// scripts, and a SARIF log for code-scanning sites.

#include "CheckReport.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pw::cli {

enum class CheckFormat { Text, Json, Sarif };

// Prints every finding of reports to standard output, in their order. Text: "PATH[:LINE]: error: …" lines,
// then the count line of files, errors and warnings. Json: one array of objects with "file", "line" (null
// for the file as a whole), "severity", "kind" and "message". Sarif: one SARIF 2.1.0 log of one run,
// a rule for each kind of finding and a result for each finding. warnings counts the summed-up ones too.
void PrintFindings(const std::vector<FileReport>& reports, CheckFormat format, std::size_t errors,
                   std::size_t warnings);

// text (UTF-8) as a quoted JSON string. A byte that starts no UTF-8 character is taken as Windows-1251,
// as a path of the game's world spelt so would be.
std::string JsonString(std::string_view text);

// A path as a SARIF artifact URI: a relative path stays relative, with "/" between folders, to be
// resolved against the root a code-hosting site checks out; an absolute one becomes a "file:" URI.
// Bytes other than letters, digits, "-._~" and the separators are percent-encoded.
std::string ArtifactUri(std::string_view path);

} // namespace pw::cli
