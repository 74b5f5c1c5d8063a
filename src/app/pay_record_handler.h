// The pay calculation under 现行规则 in the window, and the pay record
// (payrecord/pay_record.h) that it keeps.
//
// Under 现行规则 "结果输出" computes the month of 日期框1 exactly to the fen
// (wages/current_wages.h): the pay boxes read as two-place decimals, the tax
// settings from the page "设置", and the income tax in force in that month,
// withheld cumulatively on the pay record's rows of the earlier months of
// its year. 标签个税累计月份 says from which months the tax was built, for
// example "个税按2025年1、2、3月累计（1、2月取自工资记录）". A box that does not
// read ("编辑框…" key, then why) is said in a warning box and leaves the labels
// as they were. Computing writes nothing.
//
// "记入工资记录" computes the same and writes the month's row; a month that
// has one already is replaced only after "2025年3月已有工资记录，替换吗？"
// is answered OK. "工资记录" opens the view of the picked year's record
// (pay_record_dialog.h).
#pragma once

#include <string>

#include "wages/current_wages.h"

namespace qinghe::app {

struct AppContext;

// The month's wages under 现行规则 into the result labels and
// 标签个税累计月份; nothing when a box does not read or the pay record cannot
// be read (the person is told).
void showCurrentWages(AppContext& app);

// "记入工资记录".
void recordPayMonth(AppContext& app);

// "工资记录".
void showPayRecord(AppContext& app);

// "2025年3月" (GBK).
std::string payMonthName(int year, int month);

// The caption of 标签个税累计月份 (GBK) for month `month` of `year`.
std::string taxBasisCaption(int year, int month, const wages::CurrentWages& wages);

}  // namespace qinghe::app
