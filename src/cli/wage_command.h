// qinghe-cli wage [KEY=VALUE ...]: the wage calculation of the pay form.
//
// KEY is one of the pay form's keys (wages/pay_form.h); a key not given takes
// the text the form's box holds when the window opens. VALUE is converted as
// the box's text is (full-width forms folded, the leading number read). The 20
// result captions are printed one a line, in the order the window writes
// them, in UTF-8. An argument without "=", an unknown key or a VALUE with a
// character that has no GBK form is a usage error (status 2).
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runWage(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
