// Makes the journal of the start-up benchmark: an enciphered journal of
// COUNT days (one record a day) ending today, in DIR.
//
//   startup_journal DIR PASSWORD COUNT
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>

#include "common/clock.h"
#include "common/gbk.h"
#include "journal/journal_maintenance.h"
#include "journal/record_day.h"

int main(int argc, char** argv) {
    using namespace qinghe;
    using namespace qinghe::literals;
    if (argc != 4) {
        std::fprintf(stderr, "usage: startup_journal DIR PASSWORD COUNT\n");
        return 2;
    }
    const std::filesystem::path folder = argv[1];
    const int count = std::atoi(argv[3]);
    std::filesystem::create_directories(folder);
    recordstore::Registry store;
    const journal::JournalAccess access{store, platform::posixFileSystem(), folder, argv[2]};
    journal::StoreError error;
    if (!journal::createJournal(access, error)) {
        std::fprintf(stderr, "cannot create the journal: %d\n", error.code);
        return 1;
    }
    journal::OpenJournal open(access, journal::OpenMode::Exclusive);
    const DateTime today = dateOnly(systemClock().now());
    for (int day = count - 1; day >= 0; --day) {
        const journal::DayEntry entry{today - day,
                                      day % 7 == 0 ? "休息"_gbk : std::to_string(day % 4),
                                      journal::Field::G1, day % 5 == 0};
        const std::optional<journal::JournalRecord> record = journal::dayRecord(entry);
        if (!open.isOpen() || !record || !open.append(*record)) {
            std::fprintf(stderr, "cannot append\n");
            return 1;
        }
    }
    return 0;
}
