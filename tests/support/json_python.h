// Reading the JSON report with a real parser: Python's json module, started from the Wine test
// through its Unix path (tests/support/json_leaves.py reads and checks the document and lists its
// values).
#pragma once

#include <initializer_list>
#include <map>
#include <string>

struct JsonDocument {
    // Keyed by path ("verdict.problems", "findings.3.title"): the kind (o object, a array, s text,
    // i integer, f other number, b flag, n null) and the text (the member count of o and a, the
    // JSON form of the others).
    std::map<std::string, std::pair<char, std::wstring>> leaves;
    // Texts that are "" or "-" (absent values must be null), leaves of the wrong kind among the
    // fields whose kind matters most, and where the text report disagrees; one line each.
    std::string mistakes;

    std::wstring text(const std::string& path) const; // or "(missing)"
    char kind(const std::string& path) const;         // or '?'
    // The texts of the paths, each followed by "|".
    std::wstring texts(std::initializer_list<std::string> paths) const;
};

// Parses the file with Python (VANTREL_PYTHON runs VANTREL_JSON_LEAVES). Given the text report of
// the same check, holds the two against each other: the Result line's counts and the verdict's,
// every finding's "[severity] printer: title" line in order, every printer's page heading in order.
// Returns "" or why not: Python could not be started or did not answer within 30 seconds, or it
// refused the document (not UTF-8, a byte-order mark, bad JSON, a key twice in one object).
std::string read_json_report(const std::wstring& path, const std::wstring& text_report, JsonDocument* doc);
