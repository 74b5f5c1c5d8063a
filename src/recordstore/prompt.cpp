#include "recordstore/prompt.h"

#include "common/gbk.h"

namespace qinghe::recordstore {

using qinghe::literals::operator""_gbk;

std::string passwordCaption() {
    return "密码输入"_gbk;
}

std::string passwordPromptText() {
    return "请输入数据库访问密码："_gbk;
}

std::string passwordRetryText(int attemptsLeft) {
    return "密码错误，您还有 "_gbk + std::to_string(attemptsLeft) + " 次重新输入的机会。"_gbk;
}

}  // namespace qinghe::recordstore
