#include "cli/wage_command.h"

#include <ostream>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/wage_calculation.h"
#include "wages/wage_form.h"

namespace qinghe::cli {

int runWage(Args args, std::ostream& out, std::ostream& err) {
    const auto fields = wages::wageFormFields();
    std::vector<std::string> texts;
    for (const auto& field : fields) texts.push_back(field.initialText);

    for (const std::string& arg : args) {
        const auto equals = arg.find('=');
        if (equals == std::string::npos) {
            err << "qinghe-cli wage: '" << arg << "' is not KEY=VALUE\n";
            return kExitUsage;
        }
        const std::string keyUtf8 = arg.substr(0, equals);
        const gbk::Conversion key = gbk::fromUtf8(keyUtf8);
        std::size_t index = 0;
        while (index < fields.size() && !(key.ok && fields[index].key == key.text)) ++index;
        if (index == fields.size()) {
            err << "qinghe-cli wage: unknown key '" << keyUtf8 << "'; the keys are:";
            for (const auto& field : fields) err << ' ' << gbk::toUtf8(field.key);
            err << '\n';
            return kExitUsage;
        }
        const gbk::Conversion value = gbk::fromUtf8(std::string_view(arg).substr(equals + 1));
        if (!value.ok) {
            err << "qinghe-cli wage: the value of " << keyUtf8 << " holds '" << value.bad
                << "', which has no GBK form\n";
            return kExitUsage;
        }
        texts[index] = value.text;
    }

    wages::WageInputs inputs;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        inputs.*fields[i].input = wages::textToNumber(texts[i]);
    }
    for (const std::string& caption : wages::wageResultCaptions(wages::calculateWages(inputs))) {
        out << gbk::toUtf8(caption) << '\n';
    }
    return kExitOk;
}

}  // namespace qinghe::cli
