// How a journal record shows in a failing expectation.
#pragma once

#include <ostream>

#include "common/gbk.h"
#include "journal/journal_record.h"

namespace qinghe::journal {

inline void PrintTo(const JournalRecord& r, std::ostream* os) {
    *os << "{" << gbk::toUtf8(dateTimeToText(r.date)) << " G1 " << r.g1 << " G2 " << r.g2 << " G3 "
        << r.g3 << " 事假 " << r.personalLeave << " 病假 " << r.sickLeave << " 备注 '"
        << gbk::toUtf8(r.remark) << "' " << gbk::toUtf8(r.weekday) << " 夜班 " << r.nightShift
        << " 旷工 " << r.absence << "}";
}

}  // namespace qinghe::journal
