#include "journal/record_day.h"

#include <cmath>
#include <cstdint>
#include <limits>

#include "common/gbk.h"
#include "journal/day_kinds.h"
#include "wages/conversions.h"

namespace qinghe::journal {

using namespace literals;

namespace {

// The hours that `text` gives: the number at its start when it is whole and
// fits the journal's 32-bit fields, else nullopt.
std::optional<int> hoursOf(std::string_view text) {
    const double value = wages::textToNumber(text);
    constexpr double kLowest = std::numeric_limits<std::int32_t>::min();
    constexpr double kHighest = std::numeric_limits<std::int32_t>::max();
    if (!(value >= kLowest && value <= kHighest) || value != std::trunc(value)) {
        return std::nullopt;
    }
    return static_cast<int>(value);
}

std::size_t remarkBytes() {
    return static_cast<std::size_t>(fieldSpec(Field::Remark).size);
}

}  // namespace

std::optional<RecordOutcome> textRefusal(const DayEntry& entry) {
    const std::optional<int> hours = hoursOf(entry.text);
    if (!hours) return RecordOutcome::NotWholeHours;
    if (*hours == 0 && entry.text.size() > remarkBytes()) return RecordOutcome::RemarkTooLong;
    return std::nullopt;
}

std::string refusalText(RecordOutcome refusal, std::string_view gbkText) {
    const std::string text(gbkText);
    if (refusal == RecordOutcome::RemarkTooLong) {
        const std::string bytes = std::to_string(remarkBytes());
        return "备注“"_gbk + text + "”超过 "_gbk + bytes + " 个字节（"_gbk +
               std::to_string(remarkBytes() / 2) + " 个汉字），没有记录。"_gbk;
    }
    return "“"_gbk + text + "”不是整数时数（时数是 "_gbk +
           std::to_string(std::numeric_limits<std::int32_t>::min()) + " 到 "_gbk +
           std::to_string(std::numeric_limits<std::int32_t>::max()) + " 的整数），没有记录。"_gbk;
}

std::optional<JournalRecord> dayRecord(const DayEntry& entry) {
    if (textRefusal(entry)) return std::nullopt;
    JournalRecord record;
    record.date = dateOnly(entry.pickedDate);
    record.weekday = weekdayText(record.date);
    const int hours = *hoursOf(entry.text);
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
    if (const std::optional<RecordOutcome> refused = textRefusal(entry)) return *refused;
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
