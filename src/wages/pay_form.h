// The pay form: the 21 boxes whose texts are the wage calculation's inputs,
// and the one table of them.
//
// The form is a template over what a box is. The window's form is
// PayForm<ui::EditBox*> (its boxes, by the names the window gives them); the
// command-line tool and the suites use PayForm<std::string> (the texts alone).
// Whatever lists the boxes -- the window's opening texts, the wage handler,
// the settings file, `qinghe-cli wage`, the suites -- iterates payBoxes<Box>()
// and never spells the boxes out again.
//
// The table's rows come in the settings file's order: first the 18 boxes it
// keeps, keys 1 to 18 (its key 19 is the night-shift check box, not a box),
// then the three it does not keep: the night-shift allowance (filled from the
// journal), the sick-pay ratio and the working days (both on the page "设置",
// back at their opening texts at every start).
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/wage_calculation.h"

namespace qinghe::wages {

template <class Box>
struct PayForm {
    // Page "工资计算", top to bottom.
    Box 编辑框正常工作时间工资{};
    Box 编辑框考核岗位津贴{};
    Box 编辑框职务津贴{};
    Box 编辑框地区津贴{};
    Box 编辑框技能津贴{};
    Box 编辑框夜班津贴{};
    Box 编辑框特殊岗位津贴{};
    Box 编辑框1加班小时数{};
    Box 编辑框2加班小时数{};
    Box 编辑框3加班小时数{};
    Box 编辑框事假时数{};
    Box 编辑框病假时数{};
    Box 编辑框旷工时数{};
    Box 编辑框社保代扣{};
    Box 编辑框住房公积金代扣{};
    Box 编辑框伙食费代扣{};
    Box 编辑框住宿费代扣{};
    Box 编辑框其它减项{};
    Box 编辑框其它加项{};
    // Page "设置".
    Box 编辑框正常工作天数{};
    Box 编辑框病假工资比例{};
};

inline constexpr std::size_t kPayBoxCount = 21;

enum class KeptInSettings { Yes, No };

// `Number` picks the inputs the box's text gives: double for the seed rules'
// calculation, Hundredths for the current rules' (current_wages.h).
template <class Box, class Number = double>
struct PayBox {
    Box PayForm<Box>::*box;
    // GBK. The box's key in the settings file; for a box the file does not
    // keep, the name of its item ("夜班津贴", "病假工资比例", "正常工作天数").
    // `qinghe-cli wage` takes every box as KEY=VALUE by this key.
    std::string key;
    std::string_view openingText;  // what the box holds when the window opens
    KeptInSettings kept;
    std::string_view importDefault;    // kept boxes: what an import writes for a missing key
    Number PayInputs<Number>::*input;  // the calculation's input the box's text gives
};

template <class Box, class Number = double>
std::span<const PayBox<Box, Number>> payBoxes() {
    using namespace literals;
    using F = PayForm<Box>;
    using W = PayInputs<Number>;
    constexpr KeptInSettings kept = KeptInSettings::Yes;
    constexpr KeptInSettings notKept = KeptInSettings::No;
    static const PayBox<Box, Number> table[kPayBoxCount] = {
        {&F::编辑框正常工作时间工资, "正常工作时间工资"_gbk, "1820", kept, "1820", &W::basePay},
        {&F::编辑框考核岗位津贴, "考核岗位津贴"_gbk, "200", kept, "200", &W::postAllowance},
        {&F::编辑框职务津贴, "职务津贴"_gbk, "0", kept, "0", &W::positionAllowance},
        {&F::编辑框地区津贴, "地区津贴"_gbk, "0", kept, "0", &W::regionalAllowance},
        {&F::编辑框事假时数, "事假小时数"_gbk, "0", kept, "0", &W::personalLeaveHours},
        {&F::编辑框病假时数, "病假小时数"_gbk, "0", kept, "0", &W::sickLeaveHours},
        {&F::编辑框旷工时数, "旷工小时数"_gbk, "0", kept, "0", &W::absenceHours},
        {&F::编辑框社保代扣, "社保代扣"_gbk, "175.6", kept, "0", &W::socialInsurance},
        {&F::编辑框住房公积金代扣, "住房公积金代扣"_gbk, "0", kept, "0", &W::housingFund},
        {&F::编辑框伙食费代扣, "伙食费代扣"_gbk, "400", kept, "0", &W::meals},
        {&F::编辑框住宿费代扣, "住宿费代扣"_gbk, "0", kept, "0", &W::lodging},
        {&F::编辑框技能津贴, "技能津贴"_gbk, "300", kept, "0", &W::skillAllowance},
        {&F::编辑框特殊岗位津贴, "特殊岗位津贴"_gbk, "200", kept, "0", &W::specialPostAllowance},
        {&F::编辑框1加班小时数, "G1加班小时数"_gbk, "0", kept, "0", &W::g1Hours},
        {&F::编辑框2加班小时数, "G2加班小时数"_gbk, "0", kept, "0", &W::g2Hours},
        {&F::编辑框3加班小时数, "G3加班小时数"_gbk, "0", kept, "0", &W::g3Hours},
        {&F::编辑框其它减项, "其它减项"_gbk, "0", kept, "0", &W::otherDeductions},
        {&F::编辑框其它加项, "其它加项"_gbk, "0", kept, "0", &W::otherAdditions},
        {&F::编辑框夜班津贴, "夜班津贴"_gbk, "0", notKept, {}, &W::nightShiftAllowance},
        {&F::编辑框病假工资比例, "病假工资比例"_gbk, "0.7", notKept, {}, &W::sickPayRatio},
        {&F::编辑框正常工作天数, "正常工作天数"_gbk, "21.75", notKept, {}, &W::workingDays},
    };
    return table;
}

// The calculation's inputs from the boxes: textToNumber of each box's text,
// which `textOf(row)` gives as GBK for the box of each row of the table.
template <class Box, class TextOf>
WageInputs wageInputs(TextOf textOf) {
    WageInputs inputs;
    for (const PayBox<Box>& row : payBoxes<Box>()) {
        inputs.*row.input = textToNumber(textOf(row));
    }
    return inputs;
}

inline WageInputs wageInputs(const PayForm<std::string>& texts) {
    return wageInputs<std::string>(
        [&texts](const PayBox<std::string>& row) -> const std::string& { return texts.*row.box; });
}

// The form's texts as the window opens.
PayForm<std::string> openingPayTexts();

}  // namespace qinghe::wages
