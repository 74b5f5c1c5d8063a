// Sorting, re-keying and what durability costs, in one run:
//   sort          100,000 and 1,000,000 journal records in shuffled date order
//                 sorted by 日期 into a new file (flushed and moved into place),
//                 plain and enciphered, against SQLite's
//                 CREATE TABLE ... AS SELECT ... ORDER BY on the same rows
//                 (default durability: rollback journal, synchronous=FULL);
//   re-key        setPassword on a 64 MiB table (undo log of the old bytes
//                 included), against two passes of nettle's raw RC4 keystream
//                 over 64 MiB;
//   durability    the same work on a file system whose flushes do nothing:
//                 recording one day as the program does (open, append, close),
//                 a sort of 100,000 records, a re-keying of 64 MiB; the ratio is
//                 what flushing at close, the undo log's flushes and the
//                 directory flushes after renames add.
// The ratios of the goals are printed at the end (processor time is not the
// measure here: flushes wait for the disk, so wall-clock time is used).
#include <benchmark/benchmark.h>
#include <nettle/arcfour.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <numeric>
#include <random>
#include <string>
#include <vector>

#include "common/gbk.h"
#include "recordstore/format.h"
#include "recordstore/record_store.h"
#include "support.h"

namespace rs = qinghe::recordstore;
namespace platform = qinghe::platform;
using qinghe::literals::operator""_gbk;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr double kFirstDay = 36526.0;  // 2000-01-01
constexpr const char* kPassword = "benchmark";
constexpr std::int64_t kRekeyBytes = std::int64_t{64} << 20;

using qinghe::bench::journalFields;
using qinghe::bench::workDirectory;

// The machine's file system with flushes that do nothing.
class NoFlushFileSystem final : public platform::ForwardingFileSystem {
  public:
    int sync(int) override { return 0; }
    int syncDirectory(const std::string&) override { return 0; }
};

platform::FileSystem& fileSystem(bool flushes) {
    static NoFlushFileSystem noFlush;
    return flushes ? platform::posixFileSystem() : noFlush;
}

// The dates of `count` days, shuffled (the same order every run).
std::vector<double> shuffledDates(int count) {
    std::vector<double> dates(static_cast<std::size_t>(count));
    std::iota(dates.begin(), dates.end(), kFirstDay);
    std::shuffle(dates.begin(), dates.end(), std::mt19937(20130505));
    return dates;
}

// A journal of `count` records in shuffled date order, written straight into
// the file (appending a million records one by one would dominate the run),
// then enciphered through setPassword when asked.
std::string journalOf(int count, bool enciphered) {
    static std::map<std::pair<int, bool>, std::string> made;
    auto key = std::make_pair(count, enciphered);
    if (auto it = made.find(key); it != made.end()) return it->second;
    std::string path =
        workDirectory() + "/journal-" + std::to_string(count) + (enciphered ? "-c" : "-p");
    rs::Registry store;
    auto fields = journalFields();
    if (!store.createTable(path, fields) || !store.openTable(path)) std::abort();
    auto info = *store.currentTableInfo();
    store.closeTable();
    std::string file = path + ".EDB";
    std::fstream out(file, std::ios::binary | std::ios::in | std::ios::out);
    Bytes header(static_cast<std::size_t>(info.dataOffset));
    out.read(reinterpret_cast<char*>(header.data()), static_cast<std::streamsize>(header.size()));
    rs::format::storeI32(&header[rs::format::kCountOffset], count);
    rs::format::storeI32(&header[rs::format::kNextNumberOffset], count + 1);
    out.seekp(0);
    out.write(reinterpret_cast<const char*>(header.data()),
              static_cast<std::streamsize>(header.size()));
    const auto length = static_cast<std::size_t>(info.recordLength);
    const std::string remark = "休息"_gbk, weekday = "星期日"_gbk;
    Bytes record(length);
    auto dates = shuffledDates(count);
    for (int i = 0; i < count; ++i) {
        std::fill(record.begin(), record.end(), 0);
        rs::format::storeI32(record.data(), i + 1);
        rs::format::storeDouble(&record[static_cast<std::size_t>(info.fields[0].offset)],
                                dates[static_cast<std::size_t>(i)]);
        rs::format::storeI32(&record[static_cast<std::size_t>(info.fields[1].offset)], i % 9);
        std::copy(remark.begin(), remark.end(), record.begin() + info.fields[6].offset);
        std::copy(weekday.begin(), weekday.end(), record.begin() + info.fields[7].offset);
        out.write(reinterpret_cast<const char*>(record.data()),
                  static_cast<std::streamsize>(length));
    }
    out.close();
    if (enciphered) {
        if (!store.openTable(path) || !store.setPassword(kPassword)) std::abort();
        store.closeTable();
    }
    return made[key] = path;
}

std::string password(bool enciphered) {
    return enciphered ? kPassword : "";
}

// ---- sort ------------------------------------------------------------------

void sortJournal(benchmark::State& state, int count, bool enciphered, bool flushes) {
    std::string path = journalOf(count, enciphered);
    rs::Registry store(fileSystem(flushes));
    if (!store.openTable(path, {}, false, 1, password(enciphered))) std::abort();
    std::vector<std::string> key = {qinghe::journal::fieldSpec(qinghe::journal::Field::Date).name};
    std::string target = workDirectory() + "/sorted";
    for (auto _ : state) {
        if (!store.sortInto(target, key)) state.SkipWithError("sort failed");
    }
    store.closeTable();
    state.SetItemsProcessed(state.iterations() * count);
}

void sqliteSort(benchmark::State& state, int count) {
    std::string path = workDirectory() + "/sort-" + std::to_string(count) + ".sqlite";
    std::filesystem::remove(path);
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) std::abort();
    sqlite3_exec(db,
                 "CREATE TABLE journal(date REAL, g1 INT, g2 INT, g3 INT, leave INT, sick INT, "
                 "remark TEXT, weekday TEXT, night INT, absent INT)",
                 nullptr, nullptr, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO journal VALUES(?,?,0,0,0,0,?,?,1,0)", -1, &insert, nullptr);
    const std::string remark = "休息"_gbk, weekday = "星期日"_gbk;
    auto dates = shuffledDates(count);
    for (int i = 0; i < count; ++i) {
        sqlite3_bind_double(insert, 1, dates[static_cast<std::size_t>(i)]);
        sqlite3_bind_int(insert, 2, i % 9);
        sqlite3_bind_text(insert, 3, remark.data(), static_cast<int>(remark.size()), SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, weekday.data(), static_cast<int>(weekday.size()),
                          SQLITE_STATIC);
        sqlite3_step(insert);
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
    for (auto _ : state) {
        if (sqlite3_exec(db, "CREATE TABLE sorted AS SELECT * FROM journal ORDER BY date", nullptr,
                         nullptr, nullptr) != SQLITE_OK) {
            state.SkipWithError("CREATE TABLE AS failed");
        }
        state.PauseTiming();
        sqlite3_exec(db, "DROP TABLE sorted", nullptr, nullptr, nullptr);
        state.ResumeTiming();
    }
    sqlite3_close(db);
    state.SetItemsProcessed(state.iterations() * count);
}

void BM_Sort100kPlain(benchmark::State& s) {
    sortJournal(s, 100000, false, true);
}
void BM_Sort100kEnciphered(benchmark::State& s) {
    sortJournal(s, 100000, true, true);
}
void BM_Sort1MPlain(benchmark::State& s) {
    sortJournal(s, 1000000, false, true);
}
void BM_Sort1MEnciphered(benchmark::State& s) {
    sortJournal(s, 1000000, true, true);
}
void BM_SqliteSort100k(benchmark::State& s) {
    sqliteSort(s, 100000);
}
void BM_SqliteSort1M(benchmark::State& s) {
    sqliteSort(s, 1000000);
}
void BM_Sort100kPlainNoFlush(benchmark::State& s) {
    sortJournal(s, 100000, false, false);
}

// ---- re-key ----------------------------------------------------------------

void rekey(benchmark::State& state, bool flushes) {
    // A journal of 64 MiB: its records fill the file up to that size.
    static const int records = static_cast<int>((kRekeyBytes - 116 - 72 * 10) / 66);
    std::string path = journalOf(records, true);
    rs::Registry store(fileSystem(flushes));
    if (!store.openTable(path, {}, false, 1, kPassword)) std::abort();
    bool toOther = true;
    for (auto _ : state) {
        if (!store.setPassword(toOther ? "other" : kPassword))
            state.SkipWithError("re-keying failed");
        toOther = !toOther;
    }
    if (!toOther) store.setPassword(kPassword);
    store.closeTable();
    state.SetBytesProcessed(state.iterations() * kRekeyBytes);
}

void BM_Rekey64MiB(benchmark::State& s) {
    rekey(s, true);
}
void BM_Rekey64MiBNoFlush(benchmark::State& s) {
    rekey(s, false);
}

void BM_RawRc4TwoPasses64MiB(benchmark::State& state) {
    Bytes data(static_cast<std::size_t>(kRekeyBytes), 0x33);
    for (auto _ : state) {
        for (const char* key : {kPassword, "other"}) {
            arcfour_ctx ctx;
            arcfour_set_key(&ctx, std::char_traits<char>::length(key),
                            reinterpret_cast<const std::uint8_t*>(key));
            arcfour_crypt(&ctx, data.size(), data.data(), data.data());
        }
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * kRekeyBytes);
}

// ---- recording a day -------------------------------------------------------

void recordDay(benchmark::State& state, bool flushes) {
    std::string path = workDirectory() + (flushes ? "/day" : "/day-noflush");
    rs::Registry store(fileSystem(flushes));
    auto fields = journalFields();
    if (!store.createTable(path, fields)) std::abort();
    int i = 0;
    for (auto _ : state) {
        store.openTable(path, {}, false, 1, {});
        bool ok = store.appendRecord(
            {rs::Value{rs::Timestamp{kFirstDay + i++}}, rs::Value{std::int32_t{3}}});
        store.closeTable();
        if (!ok) state.SkipWithError("append failed");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_RecordDay(benchmark::State& s) {
    recordDay(s, true);
}
void BM_RecordDayNoFlush(benchmark::State& s) {
    recordDay(s, false);
}

BENCHMARK(BM_Sort100kPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Sort100kEnciphered)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_SqliteSort100k)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_Sort1MPlain)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Sort1MEnciphered)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_SqliteSort1M)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_Rekey64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_RawRc4TwoPasses64MiB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_Rekey64MiBNoFlush)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(6);
BENCHMARK(BM_Sort100kPlainNoFlush)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RecordDay)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);
BENCHMARK(BM_RecordDayNoFlush)->Unit(benchmark::kMicrosecond)->UseRealTime()->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    qinghe::bench::RatioReporter reporter(qinghe::bench::RatioReporter::Measure::WallClockTime);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios measured in this run (wall-clock time per operation, a / b):\n");
    reporter.printRatio("sort 100,000 plain / SQLite", "BM_Sort100kPlain", "BM_SqliteSort100k",
                        "goal <= 0.5");
    reporter.printRatio("sort 100,000 enciphered / SQLite", "BM_Sort100kEnciphered",
                        "BM_SqliteSort100k", "goal <= 0.5");
    reporter.printRatio("sort 1,000,000 plain / SQLite", "BM_Sort1MPlain", "BM_SqliteSort1M",
                        "goal <= 0.5");
    reporter.printRatio("sort 1,000,000 enciphered / SQLite", "BM_Sort1MEnciphered",
                        "BM_SqliteSort1M", "goal <= 0.5");
    reporter.printRatio("two raw RC4 passes / re-key (share of the raw rate)",
                        "BM_RawRc4TwoPasses64MiB", "BM_Rekey64MiB", "goal >= 0.4");
    reporter.printRatio("record a day (open, append, close): flushed / not", "BM_RecordDay",
                        "BM_RecordDayNoFlush", "durability's cost");
    reporter.printRatio("sort 100,000: flushed and renamed / no flushes", "BM_Sort100kPlain",
                        "BM_Sort100kPlainNoFlush", "durability's cost");
    reporter.printRatio("re-key 64 MiB: flushed / no flushes", "BM_Rekey64MiB",
                        "BM_Rekey64MiBNoFlush", "durability's cost");
    std::filesystem::remove_all(workDirectory());
    return 0;
}
