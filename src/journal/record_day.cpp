#include "journal/record_day.h"

#include <algorithm>

#include "common/gbk.h"
#include "journal/day_kinds.h"
#include "wages/conversions.h"

namespace qinghe::journal {

using namespace literals;

namespace {

// The most hours a record holds either way (a day has 24; negative hours
// are corrections).
constexpr int kMaxHours = 24;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

// The hours that `text` gives: the folded text (full-width forms as ASCII),
// after leading white space, as an optional sign and digits; 0 when no
// digits follow (a remark). nullopt for hours beyond kMaxHours either way,
// and for a number written in any other form ("2.5", ".5", "8.", "1e1"),
// which whole hours would only mistake.
std::optional<int> hoursOf(std::string_view gbk) {
    const std::string folded = wages::foldFullWidth(gbk);
    std::string_view s = folded;
    while (!s.empty() && std::string_view(" \t\n\v\f\r").find(s[0]) != std::string_view::npos) {
        s.remove_prefix(1);
    }
    const bool negative = !s.empty() && s[0] == '-';
    if (!s.empty() && (s[0] == '-' || s[0] == '+')) s.remove_prefix(1);
    std::size_t digits = 0;
    long value = 0;
    for (; digits < s.size() && isDigit(s[digits]); ++digits) {
        value = std::min<long>(value * 10 + (s[digits] - '0'), kMaxHours + 1);
    }
    const std::string_view rest = s.substr(digits);
    auto followedByDigit = [&](std::size_t at) { return at < rest.size() && isDigit(rest[at]); };
    const bool fraction = !rest.empty() && rest[0] == '.' && (digits > 0 || followedByDigit(1));
    const bool exponent =
        digits > 0 && !rest.empty() && (rest[0] == 'e' || rest[0] == 'E') &&
        (followedByDigit(1) ||
         (rest.size() > 1 && (rest[1] == '+' || rest[1] == '-') && followedByDigit(2)));
    if (fraction || exponent || value > kMaxHours) return std::nullopt;
    return static_cast<int>(negative ? -value : value);
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
    return "“"_gbk + text + "”不是整数时数（时数是 "_gbk + std::to_string(-kMaxHours) + " 到 "_gbk +
           std::to_string(kMaxHours) + " 的整数），没有记录。"_gbk;
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
