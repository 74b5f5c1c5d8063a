// The announced holiday arrangements: for each year the State Council has
// announced, the days off (放假) and the weekend days that are make-up working
// days (调休上班), each with the festival it belongs to.
//
// The file format, of the list built into the program and of a person's own
// file alike (UTF-8, a byte-order mark allowed; lines end in LF or CR LF):
//
//   # a comment; blank lines are skipped
//   2026-10-01<TAB>rest<TAB>国庆
//
// one line a day: the date (YYYY-MM-DD), the kind and the festival, separated
// by one TAB each. Kinds: "rest", a day off (the whole announced range,
// weekends and statutory days included); "work", a make-up working day;
// "inlieu", a weekday off given in exchange for a make-up working day, which
// counts as a day off. The festival is any text with a GBK form, at most 40
// bytes, that is more than blanks (spaces, ideographic spaces) and holds no
// control character (C0, DEL, C1). A day may be listed more than once with
// the same kind; listed as a day off and as a working day it is a bad line,
// and so is a statutory holiday of its era (statutory_days.h, the current
// rules) listed as a working day.
//
// A year is known when at least one of its days is listed. A person's file
// adds years to the built-in list and replaces those it lists, whole: a year
// of their file keeps none of the built-in days of that year.
//
// Pure: parsing takes the file's bytes. Festival names are held as GBK.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <variant>
#include <vector>

namespace qinghe::wages {

enum class Arranged { DayOff, WorkDay };

struct Arrangement {
    Arranged kind = Arranged::DayOff;
    std::string festival;  // GBK
};

// Why a line of an arrangements file was refused.
enum class ArrangementFault {
    BadDate,           // the first field is no date of the form YYYY-MM-DD
    BadKind,           // the second field is none of rest, work, inlieu
    NoFestival,        // the festival is empty or blanks only
    FestivalTooLong,   // the festival is over 40 bytes of GBK
    FestivalNotGbk,    // the festival has a character without a GBK form
    ControlCharacter,  // the festival holds a control character
    BadFields,         // not three fields separated by TABs
    Contradicted,      // the day is listed as a day off and as a working day
    StatutoryWorkDay,  // a statutory holiday listed as a working day
};

// A refused line: its number, from 1, and why.
struct ArrangementError {
    int line = 0;
    ArrangementFault fault = ArrangementFault::BadFields;
};

class Arrangements {
  public:
    // The years 2004 to 2026, compiled in.
    static const Arrangements& builtIn();

    // The arrangements of a file's bytes, or the first bad line.
    static std::variant<Arrangements, ArrangementError> parse(std::string_view fileBytes);

    // This list with the years of `own` added, each replacing the same year of
    // this list whole.
    Arrangements overriddenBy(const Arrangements& own) const;

    // Whether any day of `year` is listed.
    bool knowsYear(int year) const;

    // The arrangement of a day (a day number, days since 1899-12-30), or
    // nullptr when none was announced for it.
    const Arrangement* find(long dayNumber) const;

    // The days listed, by day number in ascending order; from `first` to
    // `last`, both included.
    std::vector<std::pair<long, const Arrangement*>> between(long first, long last) const;

    bool empty() const { return days_.empty(); }

  private:
    std::vector<std::pair<long, Arrangement>> days_;  // ascending day numbers, each once
    std::vector<int> years_;                          // ascending, each once
};

// The built-in list's file (UTF-8), as checked in beside this header.
std::string_view builtInArrangementsText();

}  // namespace qinghe::wages
