#include "wages/arrangements.h"

#include <algorithm>
#include <array>
#include <optional>
#include <span>

#include "common/datetime.h"
#include "common/gbk.h"
#include "wages/statutory_days.h"

namespace qinghe::wages {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxFestivalBytes = 40;
constexpr std::size_t kDateLength = 10;  // YYYY-MM-DD

struct KindWord {
    std::string_view word;
    Arranged kind;
};
constexpr KindWord kKindWords[] = {
    {"rest", Arranged::DayOff},
    {"work", Arranged::WorkDay},
    {"inlieu", Arranged::DayOff},
};

std::optional<int> digits(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// The day number of YYYY-MM-DD, a real date of the years 100..9999.
std::optional<long> dayOfText(std::string_view text) {
    if (text.size() != kDateLength || text[4] != '-' || text[7] != '-') return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    const auto day = digits(text.substr(8, 2));
    if (!year || !month || !day || *year < kMinYear) return std::nullopt;
    if (*day < 1 || *day > daysInMonth(*year, *month)) return std::nullopt;
    return daysFromCivil(*year, *month, *day);
}

std::optional<Arranged> kindOfText(std::string_view text) {
    for (const KindWord& k : kKindWords) {
        if (k.word == text) return k.kind;
    }
    return std::nullopt;
}

// Splits `line` at TABs into exactly `out.size()` fields.
bool splitFields(std::string_view line, std::span<std::string_view> out) {
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t tab = line.find('\t');
        const bool last = i + 1 == out.size();
        if (last != (tab == std::string_view::npos)) return false;
        out[i] = line.substr(0, tab);
        if (!last) line.remove_prefix(tab + 1);
    }
    return true;
}

// One day's line as read, with its line number.
struct Listed {
    long day;
    int line;
    Arrangement arrangement;
};

// A control character in UTF-8 text: C0 (below a space), DEL, or C1
// (U+0080 to U+009F, the bytes C2 80 to C2 9F).
bool hasControlCharacter(std::string_view utf8) {
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x20 || c == 0x7F) return true;
        if (c == 0xC2 && i + 1 < utf8.size() && static_cast<unsigned char>(utf8[i + 1]) <= 0x9F)
            return true;
    }
    return false;
}

// True when the UTF-8 text is nothing but spaces and ideographic spaces.
bool isBlank(std::string_view utf8) {
    constexpr std::string_view kIdeographicSpace = "\xE3\x80\x80";
    while (!utf8.empty()) {
        if (utf8.starts_with(' ')) {
            utf8.remove_prefix(1);
        } else if (utf8.starts_with(kIdeographicSpace)) {
            utf8.remove_prefix(kIdeographicSpace.size());
        } else {
            return false;
        }
    }
    return true;
}

// A statutory holiday under the current rules, which no announcement makes
// a working day.
bool isStatutory(long day) {
    const CivilDate d = civilFromDays(day);
    return statutoryMatches(describeDay(d.year, d.month, d.day), Rules::Current).count > 0;
}

std::variant<Listed, ArrangementError> parseLine(std::string_view line, int lineNumber) {
    const auto fail = [lineNumber](ArrangementFault fault) {
        return ArrangementError{lineNumber, fault};
    };
    std::array<std::string_view, 3> fields;
    if (!splitFields(line, fields)) return fail(ArrangementFault::BadFields);
    const auto day = dayOfText(fields[0]);
    if (!day) return fail(ArrangementFault::BadDate);
    const auto kind = kindOfText(fields[1]);
    if (!kind) return fail(ArrangementFault::BadKind);
    if (hasControlCharacter(fields[2])) return fail(ArrangementFault::ControlCharacter);
    gbk::Conversion festival = gbk::fromUtf8(fields[2]);
    if (!festival.ok) return fail(ArrangementFault::FestivalNotGbk);
    if (isBlank(fields[2])) return fail(ArrangementFault::NoFestival);
    if (festival.text.size() > kMaxFestivalBytes) return fail(ArrangementFault::FestivalTooLong);
    if (*kind == Arranged::WorkDay && isStatutory(*day)) {
        return fail(ArrangementFault::StatutoryWorkDay);
    }
    return Listed{*day, lineNumber, {*kind, std::move(festival.text)}};
}

}  // namespace

const Arrangements& Arrangements::builtIn() {
    static const Arrangements kBuiltIn = [] {
        auto parsed = parse(builtInArrangementsText());
        // The checked-in list parses; its test holds it to that.
        return std::holds_alternative<Arrangements>(parsed) ? std::get<Arrangements>(parsed)
                                                            : Arrangements();
    }();
    return kBuiltIn;
}

std::variant<Arrangements, ArrangementError> Arrangements::parse(std::string_view bytes) {
    std::vector<Listed> listed;
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    for (int lineNumber = 1; !bytes.empty(); ++lineNumber) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.starts_with('#')) continue;
        auto day = parseLine(line, lineNumber);
        if (auto* error = std::get_if<ArrangementError>(&day)) return *error;
        listed.push_back(std::move(std::get<Listed>(day)));
    }

    // Each day once, in order; the first of its lines gives the festival. The
    // sort keeps the file's order among the lines of one day, so a
    // contradiction is reported at the first line that contradicts.
    std::stable_sort(listed.begin(), listed.end(),
                     [](const Listed& a, const Listed& b) { return a.day < b.day; });
    Arrangements list;
    list.days_.reserve(listed.size());
    for (Listed& l : listed) {
        if (!list.days_.empty() && list.days_.back().first == l.day) {
            if (list.days_.back().second.kind != l.arrangement.kind)
                return ArrangementError{l.line, ArrangementFault::Contradicted};
            continue;
        }
        list.days_.emplace_back(l.day, std::move(l.arrangement));
        const int year = civilFromDays(l.day).year;
        if (list.years_.empty() || list.years_.back() != year) list.years_.push_back(year);
    }
    return list;
}

Arrangements Arrangements::overriddenBy(const Arrangements& own) const {
    Arrangements merged = own;
    for (const auto& entry : days_) {
        if (!own.knowsYear(civilFromDays(entry.first).year)) merged.days_.push_back(entry);
    }
    std::sort(merged.days_.begin(), merged.days_.end(),
              [](const auto& a, const auto& b) { return a.first < b.first; });
    merged.years_.insert(merged.years_.end(), years_.begin(), years_.end());
    std::sort(merged.years_.begin(), merged.years_.end());
    merged.years_.erase(std::unique(merged.years_.begin(), merged.years_.end()),
                        merged.years_.end());
    return merged;
}

bool Arrangements::knowsYear(int year) const {
    return std::binary_search(years_.begin(), years_.end(), year);
}

const Arrangement* Arrangements::find(long dayNumber) const {
    const auto at = std::lower_bound(days_.begin(), days_.end(), dayNumber,
                                     [](const auto& entry, long day) { return entry.first < day; });
    return at != days_.end() && at->first == dayNumber ? &at->second : nullptr;
}

std::vector<std::pair<long, const Arrangement*>> Arrangements::between(long first,
                                                                       long last) const {
    std::vector<std::pair<long, const Arrangement*>> found;
    auto at = std::lower_bound(days_.begin(), days_.end(), first,
                               [](const auto& entry, long day) { return entry.first < day; });
    for (; at != days_.end() && at->first <= last; ++at) found.emplace_back(at->first, &at->second);
    return found;
}

}  // namespace qinghe::wages
