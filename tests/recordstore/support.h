// Shared helpers of the record-store suites: a temporary directory, raw file
// bytes, and a fatal-error handler that records instead of ending the test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "journal/journal_table.h"
#include "platform/file_system.h"
#include "recordstore/errors.h"
#include "recordstore/record_store.h"
#include "testing/fixed_clock.h"

namespace qinghe::recordstore::testing {

using qinghe::literals::operator""_gbk;
using Bytes = std::vector<std::uint8_t>;
// The file system seam under the record store, by its names of old.
using platform::FileId;
using platform::ForwardingFileSystem;
using platform::LockKind;
using platform::posixFileSystem;

class TempDir {
  public:
    TempDir() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qinghe-store-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }
    std::string file(const std::string& name) const { return path_ + "/" + name; }

  private:
    std::string path_;
};

inline Bytes readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

inline void writeBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
}

inline std::int32_t i32At(const Bytes& b, std::size_t at) {
    return format::loadI32(&b[at]);
}

// Records fatal errors instead of ending the process, for one test.
class FatalTrap {
  public:
    FatalTrap() {
        previous_ = setFatalErrorHandler([this](const FatalError& e) { errors.push_back(e); });
    }
    ~FatalTrap() { setFatalErrorHandler(previous_); }
    std::vector<FatalError> errors;

  private:
    FatalErrorHandler previous_;
};

// The journal's layout, as the program creates it.
using journal::journalFields;

}  // namespace qinghe::recordstore::testing
