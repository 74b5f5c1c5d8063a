// Recording a day: what the "加班记录" button appends for the date picker's
// day, the drop-down list's text, the checked kind and the night-shift box.
//
// The text becomes hours by the whole number at its start: full-width forms
// folded, white space skipped, an optional sign and digits ("8" and "8小时"
// are 8, "－３" is -3); a text without one is no number and gives 0 ("早班",
// "", "-"). The journal holds whole hours from -24 to 24 (a day has 24;
// negative hours are corrections): a number written in any other form
// ("2.5", ".5", "1e1") or beyond that range ("25", "-99") is refused, never
// rounded, read otherwise or clamped. Hours of 0 make a day-kind record: its
// remark is the text unchanged ("0" included), which must fit the remark
// field whole (20 bytes of GBK; a longer text is refused, never cut), and its
// night flag is kept only for the text "早班". Other hours go into the field
// of the chosen kind, with the night flag for G1, G2 and G3 only; without a
// chosen kind nothing is recorded.
//
// A date is recorded once: before anything is decided, every record is read
// and a record of the same day refuses the new one ("今天已经记录过了。").
// A text refused for itself is refused before the journal is opened.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "journal/journal_access.h"
#include "journal/journal_record.h"

namespace qinghe::journal {

// "今天已经记录过了。" (GBK): the refusal of a second record of one date.
inline constexpr std::string_view kAlreadyRecordedText =
    "\xBD\xF1\xCC\xEC\xD2\xD1\xBE\xAD\xBC\xC7\xC2\xBC\xB9\xFD\xC1\xCB\xA1\xA3";

// What the person chose for the day.
struct DayEntry {
    DateTime pickedDate = 0.0;  // the date picker's value; its time of day is dropped
    std::string text;           // the drop-down list's text (GBK)
    std::optional<Field> kind;  // the first checked kind (day_kinds.h)
    bool nightShift = false;    // "夜班" checked
};

// The record that recording `entry` appends; nullopt when the text is
// refused for itself (textRefusal) or gives hours and no kind (or a field
// that is not a kind) is chosen.
std::optional<JournalRecord> dayRecord(const DayEntry& entry);

enum class RecordOutcome {
    Recorded,         // one record appended
    AlreadyRecorded,  // the day has a record; nothing appended
    NoKind,           // hours without a kind; nothing appended
    NotWholeHours,    // a number that is not whole hours in range; nothing appended
    RemarkTooLong,    // a day-kind text longer than the remark field; nothing appended
    Failed,           // the record store failed (see the error); nothing appended
};

// NotWholeHours or RemarkTooLong when `entry`'s text is refused whatever the
// journal holds; nullopt when it is not.
std::optional<RecordOutcome> textRefusal(const DayEntry& entry);

// What the person is told of a text refused for itself (GBK), naming the text
// `gbkText`: for NotWholeHours
//   "“2.5”不是整数时数（时数是 -24 到 24 的整数），没有记录。"
// and for RemarkTooLong
//   "备注“…”超过 20 个字节（10 个汉字），没有记录。"
std::string refusalText(RecordOutcome refusal, std::string_view gbkText);

// Opens the journal, scans it for the day and appends the day's record.
RecordOutcome appendDay(const JournalAccess& access, const DayEntry& entry, StoreError& error);

}  // namespace qinghe::journal
