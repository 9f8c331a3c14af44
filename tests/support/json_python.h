// Reading the JSON report with a real parser: Python's json module, started from the Wine test
// through its Unix path (tests/support/json_leaves.py lists the document's values), and comparing
// what it read with the text report of the same data.
#pragma once

#include <windows.h>

#include <map>
#include <string>

struct JsonLeaf {
    char kind;          // o object, a array, s text, i integer, f other number, b flag, n null
    std::wstring value; // the text; the member count of o and a; the JSON form of the others
};
// Keyed by path: "verdict.problems", "findings.3.title"; the document itself is "$".
using JsonLeaves = std::map<std::string, JsonLeaf>;

// Parses the file with Python (VANTREL_PYTHON runs VANTREL_JSON_LEAVES). False with the reason in
// *error when Python could not be started, did not answer within 30 seconds, or refused the
// document (not UTF-8, a byte-order mark, bad JSON, a key twice in one object).
bool parse_json_with_python(const std::wstring& path, JsonLeaves* leaves, std::string* error);

// The leaf's text, or "(missing)".
std::wstring leaf_text(const JsonLeaves& leaves, const std::string& path);
// The leaf's kind, or '?' when it is missing.
char leaf_kind(const JsonLeaves& leaves, const std::string& path);
// An integer leaf's value, or -999999 when it is missing or not an integer.
long long leaf_number(const JsonLeaves& leaves, const std::string& path);

// Where the parsed document and the text report disagree, one line each; empty when they agree:
// the Result line's counts and the verdict's, every finding's "[severity] printer: title" line in
// order, and every printer's page heading in order.
std::string json_text_disagreements(const JsonLeaves& leaves, const std::wstring& text_report);

// Texts that are "" or "-" (absent values must be null), and leaves of the wrong kind among the
// fields whose kind matters most (counts, and what may be null); empty when there are none.
std::string json_kind_mistakes(const JsonLeaves& leaves);

// A UTF-16 text for a failure message (anything outside ASCII as "?").
std::string narrow_text(const std::wstring& text);
