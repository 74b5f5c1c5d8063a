// A journal in a temporary folder, reached through the journal's cores, for
// the journal's suites.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "journal/journal_access.h"
#include "journal/journal_maintenance.h"
#include "journal/journal_rows.h"
#include "journal/record_day.h"
#include "testing/record_printer.h"

namespace qinghe::journal::testing {

using namespace literals;

class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "qinghe-journal-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    const std::filesystem::path& path() const { return path_; }
    // The names in the folder (UTF-8), sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> all;
        for (const auto& e : std::filesystem::directory_iterator(path_)) {
            all.push_back(e.path().filename().string());
        }
        std::sort(all.begin(), all.end());
        return all;
    }

  private:
    std::filesystem::path path_;
};

// A day-entry for a date at midnight.
inline DayEntry entry(int year, int month, int day, const std::string& gbkText,
                      std::optional<Field> kind = std::nullopt, bool night = false) {
    return {makeDate(year, month, day), gbkText, kind, night};
}

// Every record of the journal, in file order; empty on failure.
inline std::vector<JournalRecord> recordsOf(const JournalAccess& access) {
    JournalRows rows;
    StoreError error;
    EXPECT_TRUE(readJournalRows(access, rows, error)) << error.code;
    std::vector<JournalRecord> all;
    for (std::size_t i = 0; i < rows.size(); ++i) all.push_back(rows.record(i));
    return all;
}

// A fresh journal with the password `password` in `folder`.
class JournalTest : public ::testing::Test {
  protected:
    void SetUp() override {
        StoreError error;
        ASSERT_TRUE(createJournal(access_, error)) << error.code;
    }

    void record(const DayEntry& e) {
        StoreError error;
        ASSERT_EQ(appendDay(access_, e, error), RecordOutcome::Recorded) << error.code;
    }

    TempFolder folder_;
    recordstore::Registry store_;
    JournalAccess access_{store_, platform::posixFileSystem(), folder_.path(), "pw"};
};

}  // namespace qinghe::journal::testing
