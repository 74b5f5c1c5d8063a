#include "common/program_dir.h"

#include "common/gbk.h"

namespace qinghe {

std::filesystem::path ProgramDir::file(std::string_view gbkName) const {
    return path / std::filesystem::path(gbk::toUtf8(gbkName));
}

}  // namespace qinghe
