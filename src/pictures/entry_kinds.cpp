#include "pictures/entry_kinds.h"

#include <array>

#include "common/gbk.h"

namespace qinghe::pictures {
namespace {

using namespace literals;
using journal::Field;

constexpr EntryKindFacts kKinds[] = {
    {EntryKind::G1, Field::G1, 0x1F6FD0},
    {EntryKind::G2, Field::G2, 0xC25E00},
    {EntryKind::G3, Field::G3, 0xC0182A},
    {EntryKind::PersonalLeave, Field::PersonalLeave, 0x2E7D32},
    {EntryKind::SickLeave, Field::SickLeave, 0x7B3FA0},
    {EntryKind::Absence, Field::Absence, 0x4D4D4D},
    {EntryKind::Remark, Field::Remark, 0x7A5C2E},
    {EntryKind::NotRecorded, Field::Date, 0xC2185B},
};
constexpr std::size_t kHourKindCount = 6;

}  // namespace

std::span<const EntryKindFacts> entryKinds() {
    return kKinds;
}

std::span<const EntryKindFacts> hourKinds() {
    return std::span(kKinds).first(kHourKindCount);
}

std::int32_t hoursOf(const journal::JournalRecord& record, const EntryKindFacts& kind) {
    for (const journal::IntegerField& f : journal::kIntegerFields) {
        if (f.field == kind.field) return record.*f.member;
    }
    return 0;
}

const EntryKindFacts& factsOf(EntryKind kind) {
    return kKinds[static_cast<std::size_t>(kind)];
}

const std::string& legendName(EntryKind kind) {
    static const std::array<std::string, std::size(kKinds)> names = {
        "加班G1"_gbk, "加班G2"_gbk, "加班G3"_gbk, "事假"_gbk,
        "病假"_gbk,   "旷工"_gbk,   "备注"_gbk,   "未记录"_gbk,
    };
    return names[static_cast<std::size_t>(kind)];
}

}  // namespace qinghe::pictures
