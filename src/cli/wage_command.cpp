#include "cli/wage_command.h"

#include <ostream>
#include <string>

#include "common/gbk.h"
#include "wages/pay_form.h"
#include "wages/wage_calculation.h"

namespace qinghe::cli {

int runWage(Args args, std::ostream& out, std::ostream& err) {
    const auto boxes = wages::payBoxes<std::string>();
    wages::PayForm<std::string> texts = wages::openingPayTexts();

    for (const std::string& arg : args) {
        const auto equals = arg.find('=');
        if (equals == std::string::npos) {
            err << "qinghe-cli wage: '" << arg << "' is not KEY=VALUE\n";
            return kExitUsage;
        }
        const std::string keyUtf8 = arg.substr(0, equals);
        const gbk::Conversion key = gbk::fromUtf8(keyUtf8);
        auto row = boxes.begin();
        while (row != boxes.end() && !(key.ok && row->key == key.text)) ++row;
        if (row == boxes.end()) {
            err << "qinghe-cli wage: unknown key '" << keyUtf8 << "'; the keys are:";
            for (const auto& box : boxes) err << ' ' << gbk::toUtf8(box.key);
            err << '\n';
            return kExitUsage;
        }
        const gbk::Conversion value = gbk::fromUtf8(std::string_view(arg).substr(equals + 1));
        if (!value.ok) {
            err << "qinghe-cli wage: the value of " << keyUtf8 << " holds '" << value.bad
                << "', which has no GBK form\n";
            return kExitUsage;
        }
        texts.*row->box = value.text;
    }

    const wages::WageInputs inputs = wages::wageInputs(texts);
    for (const std::string& caption : wages::wageResultCaptions(wages::calculateWages(inputs))) {
        out << gbk::toUtf8(caption) << '\n';
    }
    return kExitOk;
}

}  // namespace qinghe::cli
