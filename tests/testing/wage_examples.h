// Worked examples of the wage calculation, shared by the suites of the core,
// the command-line tool and the window, so that all three are held to the
// same figures. Keys are the pay form's keys (wages/pay_form.h); a key not
// listed keeps the form's opening text. Texts are UTF-8.
#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

namespace qinghe::wages::examples {

// The 20 captions of the form as the window opens, in the order written.
inline const std::vector<std::string> kOpeningFormCaptions = {
    "个人所得税代扣:0",
    "G1工资：0",
    "G2工资：0",
    "G3工资：0",
    "加班费总和：0",
    "事假减项：0",
    "病假减项：0",
    "旷工减项：0",
    "时薪：11.61",
    "8小时日薪：92.88",
    "10小时日薪：127.71",
    "应发工资：2520",
    "实发工资：1944.4",
    "G1时薪：17.42",
    "G2时薪：23.22",
    "节假日时薪：34.83",
    "周六日8小时薪资：185.76",
    "周六日10小时薪资：232.2",
    "节假日8小时薪资：278.64",
    "节假日10小时薪资：348.3",
};

struct Example {
    std::vector<std::pair<std::string, std::string>> texts;     // key, box text
    std::vector<std::pair<std::size_t, std::string>> captions;  // result index, caption
};

// Hours, leave, absence and additions are shown unrounded.
inline const Example kOvertimeAndLeave = {
    {{"G1加班小时数", "12"},
     {"G2加班小时数", "16"},
     {"G3加班小时数", "8"},
     {"事假小时数", "4"},
     {"病假小时数", "8"},
     {"病假工资比例", "0.7"},
     {"旷工小时数", "2"},
     {"夜班津贴", "18"},
     {"其它减项", "50"},
     {"其它加项", "100"}},
    {{1, "G1工资：208.98"},
     {2, "G2工资：371.52"},
     {3, "G3工资：278.64"},
     {4, "加班费总和：859.14"},
     {5, "事假减项：46.44"},
     {6, "病假减项：65.016"},
     {7, "旷工减项：23.22"},
     {11, "应发工资：3262.464"},
     {0, "个人所得税代扣:0"},
     {12, "实发工资：2736.864"}},
};

// Taxable 7362.05 at 20 % less 555; the tax is rounded before net pay.
inline const Example kTaxed = {
    {{"正常工作时间工资", "10000"},
     {"考核岗位津贴", "0"},
     {"技能津贴", "0"},
     {"特殊岗位津贴", "0"},
     {"社保代扣", "0"},
     {"伙食费代扣", "0"},
     {"G1加班小时数", "10"}},
    {{8, "时薪：57.47"},
     {1, "G1工资：862.05"},
     {11, "应发工资：10862.05"},
     {0, "个人所得税代扣:917.41"},
     {12, "实发工资：9944.64"}},
};

// The current rules in May 2024, with no earlier month of the year: every
// figure to the fen, and sick leave deducts the unpaid share (8 hours at
// 11.61 x 0.3 = 27.864, shown 27.86, where the seed rules deduct 70 %).
inline constexpr int kCurrentYear = 2024;
inline constexpr int kCurrentMonth = 5;

inline const std::vector<std::string> kOpeningFormCurrentCaptions = {
    "个人所得税代扣:0.00",
    "G1工资：0.00",
    "G2工资：0.00",
    "G3工资：0.00",
    "加班费总和：0.00",
    "事假减项：0.00",
    "病假减项：0.00",
    "旷工减项：0.00",
    "时薪：11.61",
    "8小时日薪：92.88",
    "10小时日薪：127.71",
    "应发工资：2520.00",
    "实发工资：1944.40",
    "G1时薪：17.42",
    "G2时薪：23.22",
    "节假日时薪：34.83",
    "周六日8小时薪资：185.76",
    "周六日10小时薪资：232.20",
    "节假日8小时薪资：278.64",
    "节假日10小时薪资：348.30",
};

inline const Example kOvertimeAndLeaveCurrent = {
    kOvertimeAndLeave.texts,
    {{1, "G1工资：208.98"},
     {2, "G2工资：371.52"},
     {3, "G3工资：278.64"},
     {4, "加班费总和：859.14"},
     {5, "事假减项：46.44"},
     {6, "病假减项：27.86"},
     {7, "旷工减项：23.22"},
     {11, "应发工资：3299.62"},
     {0, "个人所得税代扣:0.00"},
     {12, "实发工资：2774.02"}},
};

}  // namespace qinghe::wages::examples
