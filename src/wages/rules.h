// Which rules the figures follow. Laws that change over time (the statutory
// holidays, the announced days off, the income tax) are kept as tables keyed
// by the date from which each entry is in force; the choice says whether the
// program looks the picked date up in them or keeps to the one fixed set of
// rules it was first written for.
//
//   Seed     "原版规则"  the original rules, whatever the date: the holiday
//                        table of 2008 (holidays.h) and the tax table of 2011
//                        (income_tax.h). The default.
//   Current  "现行规则"  the rules in force on the picked date.
//
// Pure; names are GBK. The name is also the value kept in the settings file,
// and the word ("seed", "current") the value of qinghe-cli's --rules.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace qinghe::wages {

enum class Rules { Seed, Current };

// Both choices, Seed first (the order in which the window offers them).
std::span<const Rules> allRules();

// "原版规则" or "现行规则" (GBK).
const std::string& rulesName(Rules rules);

// The choice that `gbkName` names: Current for exactly "现行规则" (byte for
// byte), Seed for anything else, so that an unknown or missing value keeps
// the original rules.
Rules rulesNamed(std::string_view gbkName);

// "seed" or "current".
std::string_view rulesWord(Rules rules);

// The choice of a word as rulesWord gives it; nullopt for any other text.
std::optional<Rules> rulesFromWord(std::string_view word);

}  // namespace qinghe::wages
