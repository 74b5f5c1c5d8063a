#include "wages/wage_form.h"

#include <array>

#include "common/gbk.h"
#include "wages/conversions.h"

namespace qinghe::wages {

using namespace literals;

std::span<const WageFormField> wageFormFields() {
    static const std::array<WageFormField, 21> fields = {{
        {"正常工作时间工资"_gbk, "1820", &WageInputs::basePay},
        {"考核岗位津贴"_gbk, "200", &WageInputs::postAllowance},
        {"职务津贴"_gbk, "0", &WageInputs::positionAllowance},
        {"地区津贴"_gbk, "0", &WageInputs::regionalAllowance},
        {"事假小时数"_gbk, "0", &WageInputs::personalLeaveHours},
        {"病假小时数"_gbk, "0", &WageInputs::sickLeaveHours},
        {"旷工小时数"_gbk, "0", &WageInputs::absenceHours},
        {"社保代扣"_gbk, "175.6", &WageInputs::socialInsurance},
        {"住房公积金代扣"_gbk, "0", &WageInputs::housingFund},
        {"伙食费代扣"_gbk, "400", &WageInputs::meals},
        {"住宿费代扣"_gbk, "0", &WageInputs::lodging},
        {"技能津贴"_gbk, "300", &WageInputs::skillAllowance},
        {"特殊岗位津贴"_gbk, "200", &WageInputs::specialPostAllowance},
        {"G1加班小时数"_gbk, "0", &WageInputs::g1Hours},
        {"G2加班小时数"_gbk, "0", &WageInputs::g2Hours},
        {"G3加班小时数"_gbk, "0", &WageInputs::g3Hours},
        {"其它减项"_gbk, "0", &WageInputs::otherDeductions},
        {"其它加项"_gbk, "0", &WageInputs::otherAdditions},
        {"夜班津贴"_gbk, "0", &WageInputs::nightShiftAllowance},
        {"病假工资比例"_gbk, "0.7", &WageInputs::sickPayRatio},
        {"正常工作天数"_gbk, "21.75", &WageInputs::workingDays},
    }};
    return fields;
}

WageInputs initialWageInputs() {
    WageInputs inputs;
    for (const WageFormField& field : wageFormFields()) {
        inputs.*field.input = textToNumber(field.initialText);
    }
    return inputs;
}

}  // namespace qinghe::wages
