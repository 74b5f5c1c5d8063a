// The page "月历": the month of 日期框1 as a calendar of the journal, or its
// year as a chart (journal_views.h), whichever "月历" or "全年" chooses, under
// the rules chosen on "设置" (rules_choice.h). The page is filled when it
// opens, when the view is chosen, and after every pick; it keeps nothing of
// the journal between fills.
//
// A pick (a click on a day, the keyboard, "◀ 上月" and "下月 ▶", Page Up and
// Page Down) puts that date into 日期框1, its time of day kept, and runs the
// date-change routine as a pick in the picker does, so that the presets are
// the picked day's and "加班记录" records it.
//
// "另存为图片…" asks where to save the view shown and writes it as a PNG (at
// the screen's pixel ratio) or an SVG, by the name's extension (".png" added
// to a name with neither), replacing a file of that name whole (never one of
// the data folder's own files, refused as access denied). A journal
// that cannot be read, or a file that cannot be written, gets a box that says
// why.
#pragma once

#include "common/datetime.h"

namespace qinghe::app {

struct AppContext;

void fillCalendarPage(AppContext& app);

// "月历" (year false) or "全年" (true) clicked: that view checked, the other
// not, and the page filled.
void chooseCalendarView(AppContext& app, bool year);

// A day picked on the calendar, a day or a week away from the picked one
// included.
void pickCalendarDay(AppContext& app, DateTime date);

// The same day `months` months later (earlier when negative), or the
// month's last day when it is shorter.
void stepCalendarMonth(AppContext& app, int months);

void saveCalendarPicture(AppContext& app);

}  // namespace qinghe::app
