#include "common/program_dir.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace qinghe {
namespace {

using namespace literals;

TEST(ProgramDir, GbkNamesBecomeUtf8PathsInsideTheDirectory) {
    const ProgramDir dir{"/opt/qinghe"};
    EXPECT_EQ(dir.file("加班.edb"_gbk), std::filesystem::path("/opt/qinghe/加班.edb"));
    EXPECT_EQ(dir.file("数据库备份/加班备份.edb"_gbk),
              std::filesystem::path("/opt/qinghe/数据库备份/加班备份.edb"));
    EXPECT_EQ(dir.file("配置项目.ini"_gbk).parent_path(), dir.path);
}

}  // namespace
}  // namespace qinghe
