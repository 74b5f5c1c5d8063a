#include "wages/rules.h"

#include <array>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

struct RulesEntry {
    Rules rules;
    std::string_view word;
    const char* name;  // UTF-8
};

constexpr RulesEntry kEntries[] = {
    {Rules::Seed, "seed", "原版规则"},
    {Rules::Current, "current", "现行规则"},
};

constexpr auto kAll = [] {
    std::array<Rules, std::size(kEntries)> all{};
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = kEntries[i].rules;
    return all;
}();

const RulesEntry& entryOf(Rules rules) {
    for (const RulesEntry& e : kEntries) {
        if (e.rules == rules) return e;
    }
    return kEntries[0];
}

}  // namespace

std::span<const Rules> allRules() {
    return kAll;
}

const std::string& rulesName(Rules rules) {
    static const auto kNames = [] {
        std::array<std::string, std::size(kEntries)> names;
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = gbk::fromUtf8(kEntries[i].name).text;
        return names;
    }();
    return kNames[static_cast<std::size_t>(&entryOf(rules) - kEntries)];
}

Rules rulesNamed(std::string_view gbkName) {
    return gbkName == rulesName(Rules::Current) ? Rules::Current : Rules::Seed;
}

std::string_view rulesWord(Rules rules) {
    return entryOf(rules).word;
}

std::optional<Rules> rulesFromWord(std::string_view word) {
    for (const RulesEntry& e : kEntries) {
        if (e.word == word) return e.rules;
    }
    return std::nullopt;
}

}  // namespace qinghe::wages
