#include "recordstore/replace_file.h"

#include "recordstore/errors.h"
#include "recordstore/names.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

int moveIntoPlace(FileSystem& fs, const std::string& from, const std::string& to) {
    if (int r = fs.rename(from, to); r < 0) return fileErrorCode(r);
    if (int r = fs.syncDirectory(directoryOf(to)); r < 0) return fileErrorCode(r);
    return error::kOk;
}

int writeReplacing(FileSystem& fs, Clock& clock, const std::string& path,
                   std::span<const std::uint8_t> bytes, int writeFailure) {
    std::string temp;
    {
        TableFile file(fs, clock);
        if (Status status = file.createTemporaryBeside(path, temp); !status.ok()) {
            return status.code();
        }
        Status status = file.write(0, bytes);
        if (status.ok()) status = file.sync();
        if (!status.ok()) {
            file.close();
            fs.remove(temp);
            return writeFailure;
        }
    }
    if (int r = fs.rename(temp, path); r < 0) {
        fs.remove(temp);
        return fileErrorCode(r);
    }
    // The rename is done: the new file stands even if the flush fails.
    fs.syncDirectory(directoryOf(path));
    return error::kOk;
}

}  // namespace qinghe::recordstore
