// Reading the JSON report with a real parser: Python's json module (tests/support/json_leaves.py),
// started from the Wine test through its Unix path.
#pragma once

#include <initializer_list>
#include <map>
#include <string>

struct JsonDocument {
    // By path ("verdict.problems", "findings.3.title"): the kind (o object, a array, s text, i integer,
    // f other number, b flag, n null) and the text (the member count of o and a, the JSON form of the
    // others).
    std::map<std::string, std::pair<char, std::wstring>> leaves;
    // One line for each "" or "-" text (an absent value must be null), each leaf of the wrong kind
    // among the fields whose kind matters most, and each place the text report disagrees.
    std::string mistakes;

    std::wstring text(const std::string& path) const; // or "(missing)"
    // The texts of the paths, each followed by "|".
    std::wstring texts(std::initializer_list<std::string> paths) const;
};

// Parses the file with Python (VANTREL_PYTHON runs VANTREL_JSON_LEAVES); given the text report of the
// same check, holds the two against each other: the Result line's counts, every finding's line and
// every printer's page heading. Returns "" or why not: no Python, no answer within 30 seconds, or the
// document refused (not UTF-8, a byte-order mark, bad JSON, a key twice in one object).
std::string read_json_report(const std::wstring& path, const std::wstring& text_report, JsonDocument* doc);
