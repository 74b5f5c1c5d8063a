// The date-time value shared by every part of the program.
//
// A DateTime is an IEEE double counting days since 1899-12-30 00:00 local
// time; its fraction is the time of day. The value 0 is 1899-12-30 00:00 and
// stands for "no date" (an empty journal reads as that date).
//
// Negative values follow the same convention as positive ones for the time of
// day: the whole part names the day (counted towards zero) and the magnitude
// of the fraction is the time after midnight, so -1.25 is 1899-12-29 06:00.
//
// All calendar arithmetic is proleptic Gregorian. Where a date is turned into
// text or read from the journal, values are limited to the years 100 to 9999
// (kMinDateTime to kMaxDateTime).
#pragma once

#include <string>

namespace qinghe {

using DateTime = double;

inline constexpr DateTime kMinDateTime = -657434.0;  // 0100-01-01 00:00
inline constexpr DateTime kMaxDateTime = 2958465.0;  // 9999-12-31 00:00
inline constexpr int kMinYear = 100;
inline constexpr int kMaxYear = 9999;

struct CivilDate {
    int year = 1899;
    int month = 12;
    int day = 30;
    friend bool operator==(const CivilDate&, const CivilDate&) = default;
};

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
    friend bool operator==(const TimeOfDay&, const TimeOfDay&) = default;
};

// Days of a Gregorian month; 0 for a year outside 100..9999 or a month
// outside 1..12.
int daysInMonth(int year, int month);

// Day number (days since 1899-12-30) of a proleptic Gregorian date. The day
// may lie outside the month: it counts on into the neighbouring months.
long daysFromCivil(int year, int month, int day);

// Calendar date of a day number (inverse of daysFromCivil).
CivilDate civilFromDays(long days);

// Calendar date and time of day of a value, the time to the whole second
// (a fraction that rounds up to 24:00:00 moves to the next day). Total: NaN
// reads as 1899-12-30 and a value beyond 10^8 days as that limit.
CivilDate dateOf(DateTime value);
TimeOfDay timeOf(DateTime value);

int yearOf(DateTime value);
int monthOf(DateTime value);
int dayOf(DateTime value);
// 1 = Sunday ... 7 = Saturday.
int weekdayOf(DateTime value);

// The value of a date at midnight, and of a date with a time of day. Days
// beyond the end of the month count on into the following month.
DateTime makeDate(int year, int month, int day);
DateTime makeDateTime(int year, int month, int day, int hour, int minute, int second);

// The same day at midnight (the time of day removed).
DateTime dateOnly(DateTime value);

// The value limited to the years 100..9999.
DateTime clampDateTime(DateTime value);

// "%d年%d月%d日", followed, when the time of day is not midnight, by
// "%d时%d分%d秒" (seconds not 0), "%d时%d分" (minutes not 0) or "%d时".
// The value is limited to the years 100..9999 first. GBK text.
std::string dateTimeToText(DateTime value);

}  // namespace qinghe
