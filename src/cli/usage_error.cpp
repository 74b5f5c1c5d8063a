#include "cli/usage_error.h"

#include "common/gbk.h"

namespace qinghe::cli {

std::string gbkArgument(const std::string& utf8, const char* what) {
    gbk::Conversion c = gbk::fromUtf8(utf8);
    if (!c.ok) {
        throw UsageError{std::string(what) + " has a character without a GBK form: " + c.bad};
    }
    return std::move(c.text);
}

}  // namespace qinghe::cli
