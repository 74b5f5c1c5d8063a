#include "cli/contributions_command.h"

#include <algorithm>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/date_args.h"
#include "cli/tax_lines.h"
#include "cli/usage_error.h"
#include "common/clock.h"
#include "common/gbk.h"
#include "datafolder/city_figures_file.h"
#include "recordstore/errors.h"
#include "wages/contributions.h"

namespace qinghe::cli {
namespace {

namespace w = qinghe::wages;
using Problem = datafolder::CityFiguresProblem;

constexpr char kName[] = "qinghe-cli contributions: ";
constexpr char kUsage[] =
    "usage: qinghe-cli contributions --base B [--fund-base F] [--rates P,M,U,H] [--fixed A] "
    "[--fund-rounding fen|yuan] [--month YYYY-MM] [--dir DIR]\n";
constexpr std::size_t kRateCount = 4;

struct Invocation {
    std::optional<w::Fen> base;
    std::optional<w::Fen> fundBase;
    std::optional<w::ContributionRates> rates;
    std::optional<w::Fen> fixed;
    w::FundRounding fundRounding = w::FundRounding::ToFen;
    std::optional<CivilDate> month;
    std::optional<std::string> dir;
};

w::Fen amountArgument(const std::string& option, const std::string& text) {
    w::Fen value = 0;
    const w::DecimalError error = w::parseHundredths(text, w::SignRule::NonNegative, value);
    if (error != w::DecimalError::None) {
        throw UsageError{option + " '" + text + "' " + amountProblem(error)};
    }
    return value;
}

w::Hundredths rateArgument(std::string_view text) {
    w::Hundredths rate = 0;
    const w::DecimalError error = w::parseHundredths(text, w::SignRule::NonNegative, rate);
    if (error != w::DecimalError::None || rate > w::kWholePercent) {
        throw UsageError{"--rates: '" + std::string(text) +
                         "' is not a percent from 0 to 100 with at most two decimals"};
    }
    return rate;
}

// P,M,U,H: the rates of 养老, 医疗, 失业 and 公积金.
w::ContributionRates ratesArgument(const std::string& text) {
    if (std::count(text.begin(), text.end(), ',') != kRateCount - 1) {
        throw UsageError{"--rates is four percents separated by commas, not '" + text + "'"};
    }
    std::string_view rest = text;
    std::vector<w::Hundredths> rates;
    for (std::size_t i = 0; i < kRateCount; ++i) {
        const std::size_t comma = rest.find(',');
        rates.push_back(rateArgument(rest.substr(0, comma)));
        rest.remove_prefix(comma == std::string_view::npos ? rest.size() : comma + 1);
    }
    return {rates[0], rates[1], rates[2], rates[3]};
}

w::FundRounding roundingArgument(const std::string& text) {
    if (text == "fen") return w::FundRounding::ToFen;
    if (text == "yuan") return w::FundRounding::ToYuan;
    throw UsageError{"--fund-rounding is fen or yuan, not '" + text + "'"};
}

CivilDate monthArgument(const std::string& text) {
    std::string why;
    const auto month = parseMonthArg(text, why);
    if (!month) throw UsageError{"--month " + why};
    return *month;
}

std::string folderArgument(const std::string& text) {
    if (text.empty()) throw UsageError{"--dir needs a folder, not the empty name"};
    return text;
}

// Reads one option's value into `inv`. Throws UsageError.
void takeOption(Invocation& inv, const std::string& option, const std::string& value) {
    if (option == "--base") {
        inv.base = amountArgument(option, value);
    } else if (option == "--fund-base") {
        inv.fundBase = amountArgument(option, value);
    } else if (option == "--rates") {
        inv.rates = ratesArgument(value);
    } else if (option == "--fixed") {
        inv.fixed = amountArgument(option, value);
    } else if (option == "--fund-rounding") {
        inv.fundRounding = roundingArgument(value);
    } else if (option == "--month") {
        inv.month = monthArgument(value);
    } else {
        inv.dir = folderArgument(value);
    }
}

Invocation parse(Args args) {
    constexpr std::string_view kOptions[] = {"--base",          "--fund-base", "--rates", "--fixed",
                                             "--fund-rounding", "--month",     "--dir"};
    Invocation inv;
    std::vector<std::string> given;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            if (i + 1 < args.size()) throw UsageError{"unexpected argument '" + args[i + 1] + "'"};
            break;
        }
        if (std::find(std::begin(kOptions), std::end(kOptions), a) == std::end(kOptions)) {
            throw UsageError{"unexpected argument '" + a + "'"};
        }
        if (std::find(given.begin(), given.end(), a) != given.end()) {
            throw UsageError{a + " is given twice"};
        }
        given.push_back(a);
        if (++i == args.size()) throw UsageError{a + " needs a value"};
        takeOption(inv, a, args[i]);
    }
    if (!inv.base) throw UsageError{"--base is missing"};
    return inv;
}

std::string faultText(w::CityFault fault) {
    switch (fault) {
        case w::CityFault::BadMonth:
            return "the month is not of the form YYYY-MM";
        case w::CityFault::BadKey: {
            std::string text;
            const char* separator = "the key is none of ";
            for (const w::CityKey& key : w::kCityKeys) {
                text += separator;
                text += key.name;
                separator = ", ";
            }
            return text;
        }
        case w::CityFault::BadValue:
            return "the value is not a number of at least 0 with at most two decimals, or is a "
                   "percent above 100";
        case w::CityFault::Repeated:
            return "the key is given for that month already";
        case w::CityFault::FloorAboveCap:
            return "a base's floor would be above its cap";
        case w::CityFault::BadFields:
            break;
    }
    return "it is not three fields separated by TABs";
}

std::string problemText(const Problem& p) {
    switch (p.kind) {
        case Problem::Kind::BadLine:
            return p.path + " line " + std::to_string(p.badLine.line) + ": " +
                   faultText(p.badLine.fault);
        case Problem::Kind::TooLarge:
            return p.path + " is larger than 1 MiB";
        case Problem::Kind::Unreadable:
            break;
    }
    return p.path + " cannot be read: " + gbk::toUtf8(recordstore::fileErrorMessage(-p.error));
}

// A percent as given, without trailing zeros: 800 -> "8", 50 -> "0.5".
std::string percentText(w::Hundredths rate) {
    std::string text = w::formatHundredths(rate);
    text.erase(text.find_last_not_of('0') + 1);
    if (text.back() == '.') text.pop_back();
    return text;
}

std::string report(const w::Contributions& c) {
    const struct {
        std::string_view name;
        const w::ContributionItem& item;
    } items[] = {{"养老", c.pension},
                 {"医疗", c.medical},
                 {"失业", c.unemployment},
                 {"公积金", c.housingFund}};
    std::string text;
    for (const auto& [name, item] : items) {
        text += std::string(name) + '\t' + w::formatHundredths(item.base) + '\t' +
                percentText(item.rate) + '\t' + w::formatHundredths(item.amount) + '\n';
    }
    text += "合计\t" + w::formatHundredths(c.total) + '\n';
    text += "应税公积金\t" + w::formatHundredths(c.taxableFund) + '\n';
    return text;
}

}  // namespace

int runContributions(Args args, std::ostream& out, std::ostream& err) {
    Invocation inv;
    try {
        inv = parse(args);
    } catch (const UsageError& e) {
        err << kName << e.message << '\n' << kUsage;
        return kExitUsage;
    }
    // A pure calculator unless a folder is named: without --dir no file is
    // read, so the same arguments give the same lines on every machine.
    datafolder::LoadedCityFigures city;
    if (inv.dir) city = datafolder::loadCityFigures(datafolder::DataFolder(*inv.dir));
    if (city.problem) {
        err << kName << problemText(*city.problem) << '\n';
        return city.problem->kind == Problem::Kind::BadLine ? kExitUsage : kExitFailed;
    }
    const CivilDate month = inv.month.value_or(dateOf(systemClock().now()));

    w::ContributionTerms terms;
    terms.base = inv.base.value_or(0);
    terms.fundBase = inv.fundBase;
    terms.fundRounding = inv.fundRounding;
    terms = w::withCityFigures(terms, city.figures.inForce(month.year, month.month));
    if (inv.rates) terms.rates = *inv.rates;
    if (inv.fixed) terms.medicalFixed = *inv.fixed;

    const w::Contributions result = w::contributions(terms);
    out << report(result);
    for (const std::string& note : w::contributionNotes(result)) {
        err << kName << gbk::toUtf8(note) << '\n';
    }
    return out.good() ? kExitOk : kExitFailed;
}

}  // namespace qinghe::cli
