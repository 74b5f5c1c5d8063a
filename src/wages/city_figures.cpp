#include "wages/city_figures.h"

#include <algorithm>
#include <array>
#include <span>

#include "common/datetime.h"
#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::size_t kMonthLength = 7;  // YYYY-MM

// A base's floor and cap, which the file may not cross.
struct BaseBoundKeys {
    std::optional<Fen> CityNumbers::*floor;
    std::optional<Fen> CityNumbers::*cap;
};
constexpr BaseBoundKeys kBounds[] = {
    {&CityNumbers::socialFloor, &CityNumbers::socialCap},
    {&CityNumbers::fundFloor, &CityNumbers::fundCap},
};

std::optional<int> digits(std::string_view text) {
    int value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

// Months since the year 0 of YYYY-MM, years kMinYear..9999.
std::optional<long> monthOfText(std::string_view text) {
    if (text.size() != kMonthLength || text[4] != '-') return std::nullopt;
    const auto year = digits(text.substr(0, 4));
    const auto month = digits(text.substr(5, 2));
    if (!year || !month || *year < kMinYear || *month < 1 || *month > kMonthsPerYear) {
        return std::nullopt;
    }
    return long{*year} * kMonthsPerYear + *month - 1;
}

const CityKey* keyOfText(std::string_view text) {
    const auto* key = std::find_if(std::begin(kCityKeys), std::end(kCityKeys),
                                   [text](const CityKey& k) { return k.name == text; });
    return key == std::end(kCityKeys) ? nullptr : key;
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

using Figure = CityFigures::Figure;

std::variant<Figure, CityFault> parseLine(std::string_view line, int lineNumber) {
    std::array<std::string_view, 3> fields;
    if (!splitFields(line, fields)) return CityFault::BadFields;
    const auto month = monthOfText(fields[0]);
    if (!month) return CityFault::BadMonth;
    const CityKey* key = keyOfText(fields[1]);
    if (!key) return CityFault::BadKey;
    Hundredths value = 0;
    if (parseHundredths(fields[2], SignRule::NonNegative, value) != DecimalError::None ||
        (key->value == CityValue::Percent && value > kWholePercent)) {
        return CityFault::BadValue;
    }
    return Figure{*month, key, value, lineNumber};
}

// The file's figures in its order, or its first bad line.
std::variant<std::vector<Figure>, CityFiguresError> readLines(std::string_view bytes) {
    std::vector<Figure> figures;
    if (bytes.starts_with(kByteOrderMark)) bytes.remove_prefix(kByteOrderMark.size());
    for (int lineNumber = 1; !bytes.empty(); ++lineNumber) {
        const std::size_t end = bytes.find('\n');
        std::string_view line = bytes.substr(0, end);
        bytes.remove_prefix(end == std::string_view::npos ? bytes.size() : end + 1);
        if (line.ends_with('\r')) line.remove_suffix(1);
        if (line.empty() || line.starts_with('#')) continue;
        auto read = parseLine(line, lineNumber);
        if (const auto* fault = std::get_if<CityFault>(&read)) {
            return CityFiguresError{lineNumber, *fault};
        }
        figures.push_back(std::get<Figure>(read));
    }
    return figures;
}

// The first line that repeats a key of its month, or 0. `sorted` by month
// and key, and for one key of a month in the file's order.
int firstRepeat(std::span<const Figure> sorted) {
    int repeat = 0;
    for (std::size_t i = 1; i < sorted.size(); ++i) {
        const bool repeats =
            sorted[i].month == sorted[i - 1].month && sorted[i].key == sorted[i - 1].key;
        if (repeats && (repeat == 0 || sorted[i].line < repeat)) repeat = sorted[i].line;
    }
    return repeat;
}

// The last line of `month` (one month's figures) that sets the floor or the
// cap of `bound`, or 0 when `current` keeps the floor within the cap.
int crossingLine(const CityNumbers& current, const BaseBoundKeys& bound,
                 std::span<const Figure> month) {
    const auto& floor = current.*bound.floor;
    const auto& cap = current.*bound.cap;
    if (!floor || !cap || *floor <= *cap) return 0;
    int line = 0;
    for (const Figure& f : month) {
        if (f.key->figure == bound.floor || f.key->figure == bound.cap)
            line = std::max(line, f.line);
    }
    return line;
}

// The first line, by month, with which a floor in force passes its cap, or
// 0. `sorted` by month.
int firstCrossing(std::span<const Figure> sorted) {
    CityNumbers current;
    for (auto first = sorted.begin(); first != sorted.end();) {
        const auto next = std::find_if(first, sorted.end(),
                                       [&](const Figure& f) { return f.month != first->month; });
        for (auto f = first; f != next; ++f) current.*f->key->figure = f->value;
        for (const BaseBoundKeys& bound : kBounds) {
            if (const int line = crossingLine(current, bound, {first, next})) return line;
        }
        first = next;
    }
    return 0;
}

}  // namespace

std::variant<CityFigures, CityFiguresError> CityFigures::parse(std::string_view bytes) {
    auto read = readLines(bytes);
    if (const auto* bad = std::get_if<CityFiguresError>(&read)) return *bad;
    CityFigures figures;
    auto& all = figures.figures_;
    all = std::move(std::get<std::vector<Figure>>(read));
    std::stable_sort(all.begin(), all.end(), [](const Figure& a, const Figure& b) {
        return a.month != b.month ? a.month < b.month : a.key < b.key;
    });
    if (const int line = firstRepeat(all)) return CityFiguresError{line, CityFault::Repeated};
    if (const int line = firstCrossing(all))
        return CityFiguresError{line, CityFault::FloorAboveCap};
    return figures;
}

CityNumbers CityFigures::inForce(int year, int month) const {
    const long wanted = long{year} * kMonthsPerYear + month - 1;
    CityNumbers numbers;
    for (const Figure& f : figures_) {
        if (f.month > wanted) break;
        numbers.*f.key->figure = f.value;
    }
    return numbers;
}

}  // namespace qinghe::wages
