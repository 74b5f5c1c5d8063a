#include "datafolder/arrangements_file.h"

#include <cerrno>
#include <variant>

namespace qinghe::datafolder {
namespace {

using Fault = wages::ArrangementFault;

constexpr FaultWords kFaultWords[] = {
    {Fault::BadDate, "the date is not of the form YYYY-MM-DD", "日期不是 YYYY-MM-DD 的形式"},
    {Fault::BadKind, "the kind is none of rest, work, inlieu", "类别不是 rest、work、inlieu 之一"},
    {Fault::NoFestival, "the festival is missing or blanks only", "没有节日名称，或只有空白"},
    {Fault::FestivalTooLong, "the festival is longer than 40 bytes",
     "节日名称超过 40 个字节（20 个汉字）"},
    {Fault::FestivalNotGbk, "the festival has a character without a GBK form",
     "节日名称有 GBK 里没有的字"},
    {Fault::ControlCharacter, "the festival holds a control character", "节日名称含有控制字符"},
    {Fault::BadFields, "it is not three fields separated by TABs", "不是用 Tab 隔开的三项"},
    {Fault::Contradicted, "the day is listed as a day off and as a working day",
     "同一天既放假又上班"},
    {Fault::StatutoryWorkDay, "the day is a statutory holiday, never a working day",
     "法定节假日不能调休上班"},
};

}  // namespace

const FaultWords& faultWords(wages::ArrangementFault fault) {
    for (const FaultWords& words : kFaultWords) {
        if (words.fault == fault) return words;
    }
    return kFaultWords[0];  // every fault has its words (a test holds them to it)
}

LoadedArrangements loadArrangements(const DataFolder& folder) {
    using Problem = ArrangementsProblem;
    LoadedArrangements loaded{wages::Arrangements::builtIn(), std::nullopt};
    const std::string path = folder.arrangementsFile();
    std::string bytes;
    if (const int r = folder.readArrangements(bytes); r < 0) {
        if (r == -EFBIG) {
            loaded.problem = Problem{Problem::Kind::TooLarge, path, 0, {}};
        } else if (r != -ENOENT) {
            loaded.problem = Problem{Problem::Kind::Unreadable, path, -r, {}};
        }
        return loaded;
    }
    auto parsed = wages::Arrangements::parse(bytes);
    if (auto* bad = std::get_if<wages::ArrangementError>(&parsed)) {
        loaded.problem = Problem{Problem::Kind::BadLine, path, 0, *bad};
        return loaded;
    }
    loaded.list = loaded.list.overriddenBy(std::get<wages::Arrangements>(parsed));
    return loaded;
}

}  // namespace qinghe::datafolder
