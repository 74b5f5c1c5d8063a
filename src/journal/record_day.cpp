#include "journal/record_day.h"

#include "common/gbk.h"
#include "journal/day_kinds.h"
#include "wages/conversions.h"

namespace qinghe::journal {

using namespace literals;

std::optional<JournalRecord> dayRecord(const DayEntry& entry) {
    JournalRecord record;
    record.date = dateOnly(entry.pickedDate);
    record.weekday = weekdayText(record.date);
    const int hours = wages::textToInteger(entry.text);
    if (hours == 0) {
        record.remark = entry.text;
        if (entry.text == "早班"_gbk) record.nightShift = entry.nightShift ? 1 : 0;
        return record;
    }
    for (const DayKind<bool>& kind : dayKindFacts()) {
        if (entry.kind == kind.field) {
            for (const IntegerField& f : kIntegerFields) {
                if (f.field == kind.field) record.*f.member = hours;
            }
            if (kind.keepsNightShift) record.nightShift = entry.nightShift ? 1 : 0;
            return record;
        }
    }
    return std::nullopt;
}

RecordOutcome appendDay(const JournalAccess& access, const DayEntry& entry, StoreError& error) {
    OpenJournal journal(access, OpenMode::ReadWrite);
    if (!journal.isOpen()) {
        error = journal.error();
        return RecordOutcome::Failed;
    }
    const DateTime day = dateOnly(entry.pickedDate);
    int count = 0;
    bool ok = journal.count(count);
    for (int i = 0; ok && i < count; ++i) {
        DateTime date = 0.0;
        ok = journal.readDate(date) && journal.next();
        if (ok && date == day) return RecordOutcome::AlreadyRecorded;
    }
    if (ok) {
        const std::optional<JournalRecord> record = dayRecord(entry);
        if (!record) return RecordOutcome::NoKind;
        ok = journal.append(*record);
    }
    if (!ok) {
        error = journal.error();
        return RecordOutcome::Failed;
    }
    return RecordOutcome::Recorded;
}

}  // namespace qinghe::journal
