// The kinds of day whose hours a recorded day holds: the six radio buttons of
// the journal group, in the order in which recording a day looks at them,
// each with the journal field its hours go into, the hours that choosing it
// presets in the drop-down list, and whether a night shift counts for it.
//
//   button        field  presets  night shift counts
//   单选框加班1   G1     "2"      yes
//   单选框加班2   G2     "10"     yes
//   单选框加班3   G3     "10"     yes
//   单选框事假    事假   "8"      no
//   单选框病假    病假   "8"      no
//   单选框旷工    旷工   "8"      no
//
// The table is written once, over what a button is, as the pay form is
// (wages/pay_form.h): the window's buttons are DayKindButtons<ui::RadioButton*>
// (the main window is one); the cores and qinghe-cli, which need the kinds
// alone, read dayKindFacts().
#pragma once

#include <span>
#include <string_view>

#include "journal/journal_table.h"

namespace qinghe::journal {

template <class Button>
struct DayKindButtons {
    Button 单选框加班1{};
    Button 单选框加班2{};
    Button 单选框加班3{};
    Button 单选框事假{};
    Button 单选框病假{};
    Button 单选框旷工{};
};

template <class Button>
struct DayKind {
    Button DayKindButtons<Button>::*button;
    Field field;
    std::string_view presetHours;  // GBK (digits)
    bool keepsNightShift;
};

template <class Button>
std::span<const DayKind<Button>> dayKinds() {
    using B = DayKindButtons<Button>;
    static const DayKind<Button> table[] = {
        {&B::单选框加班1, Field::G1, "2", true},
        {&B::单选框加班2, Field::G2, "10", true},
        {&B::单选框加班3, Field::G3, "10", true},
        {&B::单选框事假, Field::PersonalLeave, "8", false},
        {&B::单选框病假, Field::SickLeave, "8", false},
        {&B::单选框旷工, Field::Absence, "8", false},
    };
    return table;
}

// The kinds without the window's buttons (each a mere flag here).
inline std::span<const DayKind<bool>> dayKindFacts() {
    return dayKinds<bool>();
}

}  // namespace qinghe::journal
