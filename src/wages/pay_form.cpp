#include "wages/pay_form.h"

namespace qinghe::wages {

PayForm<std::string> openingPayTexts() {
    PayForm<std::string> texts;
    for (const PayBox<std::string>& row : payBoxes<std::string>()) {
        texts.*row.box = row.openingText;
    }
    return texts;
}

}  // namespace qinghe::wages
