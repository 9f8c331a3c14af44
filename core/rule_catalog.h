// Every rule id a finding can carry. Scripts and fleet tools key on these ids, so once released an
// id never changes meaning; a rule that comes to mean something else gets a new id. The ids and
// what they mean are listed for people in docs/report-json.md.
#pragma once

#include <stdint.h>
#include <wchar.h>

struct RuleInfo {
    const wchar_t* id;
    int32_t unattended; // its one-click fix is safe to make with nobody watching ("/fix")
};

extern const RuleInfo kRules[];
extern const int32_t kRuleCount;

// The rule of an id (compared exactly), or null for an id no rule has.
const RuleInfo* rule_info(const wchar_t* id);
