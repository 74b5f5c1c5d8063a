// Recording a day: what the "加班记录" button appends for the date picker's
// day, the drop-down list's text, the checked kind and the night-shift box.
//
// The text becomes hours by textToInteger (full-width forms folded, then as
// atoi: "8" is 8, "7.9" is 7, "早班" and "" are 0). Hours of 0 make a
// day-kind record: its remark is the text unchanged ("0" included) and its
// night flag is kept only for the text "早班". Other hours go into the field
// of the chosen kind, with the night flag for G1, G2 and G3 only; without a
// chosen kind nothing is recorded. Negative hours are stored as given.
//
// A date is recorded once: before anything is decided, every record is read
// and a record of the same day refuses the new one ("今天已经记录过了。").
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

// The record that recording `entry` appends; nullopt when the text gives
// hours and no kind (or a field that is not a kind) is chosen.
std::optional<JournalRecord> dayRecord(const DayEntry& entry);

enum class RecordOutcome {
    Recorded,         // one record appended
    AlreadyRecorded,  // the day has a record; nothing appended
    NoKind,           // hours without a kind; nothing appended
    Failed,           // the record store failed (see the error); nothing appended
};

// Opens the journal, scans it for the day and appends the day's record.
RecordOutcome appendDay(const JournalAccess& access, const DayEntry& entry, StoreError& error);

}  // namespace qinghe::journal
