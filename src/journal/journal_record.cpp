#include "journal/journal_record.h"

#include <array>

#include "common/gbk.h"

namespace qinghe::journal {

using namespace literals;

std::string weekdayText(DateTime date) {
    static const std::array<std::string, 7> names = {
        "星期日"_gbk, "星期一"_gbk, "星期二"_gbk, "星期三"_gbk,
        "星期四"_gbk, "星期五"_gbk, "星期六"_gbk,
    };
    return names[static_cast<std::size_t>(weekdayOf(date) - 1)];
}

}  // namespace qinghe::journal
