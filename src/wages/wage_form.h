// The pay form's inputs by name: for each of the 21 inputs of calculateWages,
// its key (the name under which the settings file keeps it, or for the three
// inputs the settings file does not keep, the name of its item) and the text
// its box holds when the window opens. The command-line front end reads its
// KEY=VALUE arguments through this table.
#pragma once

#include <span>
#include <string>

#include "wages/wage_calculation.h"

namespace qinghe::wages {

struct WageFormField {
    std::string key;          // GBK, e.g. "正常工作时间工资", "正常工作天数"
    std::string initialText;  // GBK, e.g. "1820", "21.75"
    double WageInputs::*input;
};

// The 21 fields: the 18 kept in the settings file in their order there, then
// "夜班津贴", "病假工资比例" and "正常工作天数".
std::span<const WageFormField> wageFormFields();

// The inputs of the form as the window opens (every field at its initial text).
WageInputs initialWageInputs();

}  // namespace qinghe::wages
