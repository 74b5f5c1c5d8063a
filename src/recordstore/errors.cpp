#include "recordstore/errors.h"

#include <array>
#include <cerrno>
#include <string_view>
#include <utility>

#include "common/gbk.h"

namespace qinghe::recordstore {
namespace {

// Codes -1 to -80 (-77 has no message of its own), in UTF-8; converted to
// GBK once.
constexpr std::pair<int, std::string_view> kMessages[] = {
    {-1, "未知错误"},
    {-2, "创建数据库失败"},
    {-3, "指定文件未找到"},
    {-4, "无效的路径"},
    {-5, "打开文件过多"},
    {-6, "指定文件不能被访问"},
    {-7, "无效的文件号"},
    {-8, "不能删除现行工作目录"},
    {-9, "创建目录过多"},
    {-10, "文件指针定位失败"},
    {-11, "访问文件时硬件产生故障"},
    {-12, "访问文件时产生共享冲突"},
    {-13, "加锁文件失败"},
    {-14, "磁盘空间不够"},
    {-15, "已经到达文件尾"},
    {-16, "字段数目必须大于 0 "},
    {-17, "无效的字段类型"},
    {-18,
     "无效的字段名称。名称首字符必须为全半角字母或汉字，其他字符必须为全半角字母、全半角数字或"
     "汉字。名称长度必须小于 16 字符"},
    {-19, "无效的字段尺寸"},
    {-20, "存在重复的字段名称"},
    {-21, "打开指定数据库失败"},
    {-22, "指定文件不是数据库文件"},
    {-23, "指定数据库文件版本太高，无法读入，请升级系统软件"},
    {-24,
     "无效的别名。别名首字符必须为全半角字母或汉字，其他字符必须为全半角字母、全半角数字或汉字"},
    {-25, "已经越过数据库的首记录"},
    {-26, "已经越过数据库的末记录"},
    {-27, "当前未打开数据库"},
    {-28, "加锁失败"},
    {-29, "解锁失败"},
    {-30, "打开指定索引文件失败"},
    {-31, "指定文件不是数据库索引文件或已被损坏"},
    {-32, "索引文件的版本与数据库本身不一致"},
    {-33, "索引文件已经被打开"},
    {-34, "为同一数据库打开索引文件过多"},
    {-35, "读入数据库辅助文件失败"},
    {-36, "数据库辅助文件的版本与数据库本身不一致"},
    {-37, "指定文件不是数据库辅助文件或已被损坏"},
    {-38, "指定数据库已经被打开"},
    {-39, "索引所使用的字段太多"},
    {-40, "未找到指定字段"},
    {-41, "创建数据库索引文件失败"},
    {-42, "索引所使用的字段不能为备注或者字节集类型"},
    {-43, "不能找到索引所使用的字段"},
    {-44, "指定记录不存在"},
    {-45, "分配内存空间失败"},
    {-46, "读指定字段失败"},
    {-47, "写指定字段失败"},
    {-48, "数据库文件尺寸错误"},
    {-49, "数据库索引文件尺寸错误"},
    {-50, "创建数据库辅助文件失败"},
    {-51, "加入索引项目失败"},
    {-52, "访问索引项目失败"},
    {-53, "索引所使用字段的尺寸与数据库内的字段不一致"},
    {-54, "索引所使用字段的类型与数据库内的字段不一致"},
    {-55, "内存不足"},
    {-56, "索引字段的尺寸过大"},
    {-57, "已到最后一个索引项"},
    {-58, "找不到指定记录的索引项"},
    {-59, "访问数据库的辅助文件失败"},
    {-60, "现行记录不存在"},
    {-61, "指定字段不存在"},
    {-62, "读记录失败"},
    {-63, "写记录失败"},
    {-64, "更改索引失败"},
    {-65, "取数据库记录数失败"},
    {-66, "未打开指定数据库"},
    {-67, "未设置当前数据库"},
    {-68, "找不到指定的索引"},
    {-69, "未设置当前索引"},
    {-70, "字段类型错误"},
    {-71, "未指定字段或者字段类型错误"},
    {-72, "所提供数据的类型与字段类型不匹配"},
    {-73, "所提供欲查找数据的数目与当前索引的索引字段数不相等"},
    {-74, "数据库的共享打开方式不是“#禁止读写”"},
    {-75, "计算表达式出错"},
    {-76, "表达式类型错误"},
    {-78, "未提供数据库访问密码或提供了错误的密码"},
    {-79, "修改访问密码时更新数据库数据失败"},
    {-80, "无效的密码文本"},
};

constexpr int kLowestCode = -80;

struct MessageTable {
    std::array<std::string, -kLowestCode + 1> byCode;  // index -code; index 0 (success) empty
    MessageTable() {
        using qinghe::literals::operator""_gbk;
        for (const auto& [code, utf8] : kMessages) {
            byCode[static_cast<std::size_t>(-code)] = operator""_gbk(utf8.data(), utf8.size());
        }
        for (std::size_t i = 2; i < byCode.size(); ++i) {
            if (byCode[i].empty()) byCode[i] = byCode[1];
        }
    }
};

const MessageTable& table() {
    static const MessageTable t;
    return t;
}

thread_local int tLastError = error::kOk;

}  // namespace

const std::string& errorMessage(int code) {
    const auto& t = table();
    if (code < kLowestCode || code > 0) return t.byCode[1];
    return t.byCode[static_cast<std::size_t>(-code)];
}

int lastError() {
    return tLastError;
}

const std::string& lastErrorMessage() {
    return errorMessage(tLastError);
}

void setLastError(int code) {
    tLastError = code;
}

int fileErrorCode(std::int64_t negativeErrno) {
    switch (-negativeErrno) {
        case ENOENT:
            return error::kFileNotFound;
        case ENOTDIR:
        case ENAMETOOLONG:
        case ELOOP:
        case EISDIR:
            return error::kBadPath;
        case EMFILE:
        case ENFILE:
            return error::kTooManyOpenFiles;
        case EACCES:
        case EPERM:
        case EROFS:
        case ETXTBSY:
            return error::kAccessDenied;
        case EBADF:
            return error::kBadHandle;
        case ESPIPE:
        case EOVERFLOW:
        case EFBIG:
            return error::kSeekFailed;
        case EIO:
            return error::kHardwareError;
        case EINVAL:  // the file system's answer to a FIFO or a device where a file was wanted
            return error::kNotATable;
        case EAGAIN:
        case EDEADLK:
            return error::kLockViolation;
        case ENOSPC:
        case EDQUOT:
            return error::kDiskFull;
        default:
            return error::kUnknown;
    }
}

const std::string& fileErrorMessage(std::int64_t negativeErrno) {
    return errorMessage(fileErrorCode(negativeErrno));
}

}  // namespace qinghe::recordstore
