// The Chinese lunisolar calendar for 1901-2049: conversion between Gregorian
// dates and lunar dates, the solar terms that fall on a day, and a lunar
// description of a date.
//
// Pure computation over three constant tables (lunar_tables.h, solar_terms.h);
// no state, no Qt, safe to call from any thread. Text is GBK.
//
// A lunar date is a lunar year (1901..2049), month (1..12), day (1..30) and a
// leap flag. The leap flag marks the intercalary month that follows the
// ordinary month of the same number. Lunar 1901-01-01 is Gregorian
// 1901-02-19; each lunar year is as long as its months (353..385 days).
//
// Gregorian dates convert when they lie in 1901-02-19 .. 2048-12-31 (the
// valid range); the tables run on to lunar 2049, whose days are reachable
// only from the lunar side and are never found by the search below.
//
// Failures are never reported; each operation answers with its neutral value:
// false (result variables unchanged), 0, or "" (term number unwritten).
#pragma once

#include <string>
#include <string_view>

#include "common/datetime.h"

namespace qinghe::lunar {

inline constexpr int kFirstLunarYear = 1901;
inline constexpr int kLastLunarYear = 2049;

// The valid Gregorian range of lunarFromDate.
inline constexpr int kFirstDayYear = 1901, kFirstDayMonth = 2, kFirstDayDay = 19;
inline constexpr int kEndYear = 2049;  // the first Gregorian year that no longer converts

// Solar terms are numbered from 立春: 立春 1, 清明 5, 冬至 22, 小寒 23, 大寒 24.
inline constexpr int kQingmingTermNumber = 5;

// The lunar date of the calendar date of `value` (its time of day is
// ignored). True on success; false, with the four variables left as they
// were, for a date outside 1901-02-19 .. 2048-12-31 or a value that is not a
// finite date of the years 100..9999.
bool lunarFromDate(DateTime value, int& year, int& month, int& day, bool& isLeap);

// Length in days (29 or 30) of ordinary month `month` of lunar `year`, or
// with isLeap of that year's leap month when `month` is the month it follows
// (0 when it is not). 0 for a year outside 1901..2049 or a month outside 1..12.
int lunarMonthDays(int year, int month, bool isLeap);

// The Gregorian day (midnight) of a lunar date, found by a bounded search:
// the guess starts at the Gregorian date with the same numbers and moves one
// day at a time towards the wanted date (31 days across a leap month), for at
// most 100 conversions. A leap flag asked of a month that is not the year's
// leap month is dropped. False, with `value` unchanged, for a year outside
// 1901..2049, a month outside 1..12, a day the month does not have (day 30 of
// a 29-day month) and any lunar date whose day lies after 2048-12-31.
bool dateFromLunar(int year, int month, int day, bool isLeap, DateTime& value);

// Name of the solar term that falls on the Gregorian day of the lunar date,
// or "" when none does or the date cannot be converted (dateFromLunar). When
// `termNumber` is given and the conversion succeeds it receives the term's
// number counted from 立春 (1..24), or 0 when no term falls on the day; when
// the conversion fails it is not written.
std::string lunarSolarTerm(int year, int month, int day, bool isLeap, int* termNumber = nullptr);

// The default format of lunarDateText: "%Y年(%S)%M%D %y-%m-%d" (GBK).
const std::string& defaultLunarDateFormat();

// `format` (GBK; the default format when empty) with its codes replaced, each
// at every occurrence, in this order:
//   %Y  stem and branch of the sixty-year cycle, as 癸巳. The cycle year
//       changes at the moment of 立春 (to the second), not at lunar new year.
//   %S  the zodiac animal of that branch, as 蛇
//   %M  the lunar month, as 正月 .. 十月, 冬月, 腊月, with 闰 before a leap month
//   %D  the lunar day, as 初一 .. 初十, 十一 .. 十九, 二十, 廿一 .. 廿九, 三十
//   %y %m %d  the Gregorian year, month and day in plain decimal
// Example: 2013-11-25 10:00 gives 癸巳年(蛇)十月廿三 2013-11-25.
// Outside 1901-02-19 .. 2048-12-31 the four lunar codes become empty text.
std::string lunarDateText(DateTime value, std::string_view format = {});

}  // namespace qinghe::lunar
