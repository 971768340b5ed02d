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

// The reports of a check in their order; each stays where it was made.
using ReportList = std::vector<FileReport*>;

// Prints every finding of reports to standard output, in their order. Text: "PATH[:LINE]: error: …" lines,
// then the count line of files, errors and warnings. Json: one array of objects with "file", "line" (null
// for the file as a whole), "severity", "kind" and "message". Sarif: one SARIF 2.1.0 log of one run,
// a rule for each kind of finding and a result for each finding; where there are more than code-scanning
// sites take in a run (25,000), the errors first and then the warnings up to that many, those left out
// counted on standard error and in the run's properties. warnings counts the summed-up ones too.
void PrintFindings(const ReportList& reports, CheckFormat format, std::size_t errors, std::size_t warnings);

// A path as a SARIF artifact URI: a relative path stays relative, with "/" between folders, to be
// resolved against the root a code-hosting site checks out; an absolute one becomes a "file:" URI.
// Bytes other than letters, digits, "-._~" and the separators are percent-encoded.
std::string ArtifactUri(std::string_view path);

} // namespace pw::cli
