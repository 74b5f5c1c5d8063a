// The record store against SQLite on the journal's layout (ten fields, one
// record per day), in one run:
//   append            one appendRecord per record, plain and enciphered, against
//                     one INSERT per row in autocommit (synchronous=OFF), and in WAL mode;
//   month totals      the monthly-totals pass over 100,000 records (count, then per
//                     record 日期 and, in the picked month, seven more fields, then
//                     skip), plain and enciphered, against one SELECT read in the
//                     application;
//   decipher          a 64 MiB table deciphered, against nettle's raw RC4 keystream.
// The ratios of the goals are printed at the end.
#include <benchmark/benchmark.h>
#include <nettle/arcfour.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "common/gbk.h"
#include "recordstore/cipher.h"
#include "recordstore/record_store.h"
#include "support.h"

namespace rs = qinghe::recordstore;
using qinghe::literals::operator""_gbk;
using Bytes = std::vector<std::uint8_t>;

namespace {

constexpr int kJournalRecords = 100000;
constexpr double kFirstDay = 36526.0;  // 2000-01-01
constexpr int kPickedMonth = 5;
constexpr const char* kPassword = "benchmark";
constexpr std::size_t kDecipherBytes = 64u << 20;

using qinghe::bench::journalFields;
using qinghe::bench::workDirectory;

// A new empty journal, enciphered with kPassword when asked (the engine's
// re-keying is not part of this build, so the bytes are enciphered here).
std::string newJournal(const std::string& name, bool enciphered) {
    std::string path = workDirectory() + "/" + name;
    rs::Registry store;
    auto fields = journalFields();
    if (!store.createTable(path, fields)) std::abort();
    if (enciphered) {
        std::string file = path + ".EDB";
        std::ifstream in(file, std::ios::binary);
        Bytes b(std::istreambuf_iterator<char>(in), {});
        std::copy(rs::format::kCipheredMagic.begin(), rs::format::kCipheredMagic.end(), b.begin());
        std::string check = rs::passwordCheckString(kPassword);
        std::copy(check.begin(), check.end(), b.begin() + rs::format::kPasswordCheckOffset);
        rs::Cipher(kPassword).apply(0, b);
        std::ofstream(file, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
    }
    return path;
}

std::string password(bool enciphered) {
    return enciphered ? kPassword : "";
}

struct Day {
    double date;
    int hours;
};

Day dayOf(int i) {
    return {kFirstDay + i, i % 9};
}

bool appendDay(rs::Registry& store, int i) {
    Day d = dayOf(i);
    static const std::string remark = "休息"_gbk;
    static const std::string weekday = "星期日"_gbk;
    return store.appendRecord({rs::Value{rs::Timestamp{d.date}}, rs::Value{std::int32_t{d.hours}},
                               rs::Value{std::int32_t{0}}, rs::Value{std::int32_t{0}},
                               rs::Value{std::int32_t{0}}, rs::Value{std::int32_t{0}},
                               rs::Value{remark}, rs::Value{weekday}, rs::Value{std::int32_t{1}},
                               rs::Value{std::int32_t{0}}});
}

// ---- append ------------------------------------------------------------------

void appendRecords(benchmark::State& state, bool enciphered) {
    std::string path = newJournal(enciphered ? "append-enciphered" : "append-plain", enciphered);
    rs::Registry store;
    if (!store.openTable(path, {}, false, 1, password(enciphered))) std::abort();
    int i = 0;
    for (auto _ : state) {
        if (!appendDay(store, i++)) state.SkipWithError("append failed");
    }
    state.SetItemsProcessed(state.iterations());
}

void BM_AppendPlain(benchmark::State& state) {
    appendRecords(state, false);
}
void BM_AppendEnciphered(benchmark::State& state) {
    appendRecords(state, true);
}

sqlite3* openSqlite(const std::string& name, bool wal) {
    std::string path = workDirectory() + "/" + name + ".sqlite";
    std::filesystem::remove(path);
    std::filesystem::remove(path + "-wal");
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) std::abort();
    sqlite3_exec(db, wal ? "PRAGMA journal_mode=WAL" : "PRAGMA journal_mode=DELETE", nullptr,
                 nullptr, nullptr);
    sqlite3_exec(db, "PRAGMA synchronous=OFF", nullptr, nullptr, nullptr);
    sqlite3_exec(db,
                 "CREATE TABLE journal(date REAL, g1 INT, g2 INT, g3 INT, leave INT, sick INT, "
                 "remark TEXT, weekday TEXT, night INT, absent INT)",
                 nullptr, nullptr, nullptr);
    return db;
}

sqlite3_stmt* prepareInsert(sqlite3* db) {
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db, "INSERT INTO journal VALUES(?,?,?,?,?,?,?,?,?,?)", -1, &insert, nullptr);
    return insert;
}

void insertDay(sqlite3_stmt* insert, int i) {
    static const std::string remark = "休息"_gbk;
    static const std::string weekday = "星期日"_gbk;
    Day d = dayOf(i);
    sqlite3_bind_double(insert, 1, d.date);
    sqlite3_bind_int(insert, 2, d.hours);
    for (int c = 3; c <= 6; ++c) sqlite3_bind_int(insert, c, 0);
    sqlite3_bind_text(insert, 7, remark.data(), static_cast<int>(remark.size()), SQLITE_STATIC);
    sqlite3_bind_text(insert, 8, weekday.data(), static_cast<int>(weekday.size()), SQLITE_STATIC);
    sqlite3_bind_int(insert, 9, 1);
    sqlite3_bind_int(insert, 10, 0);
    sqlite3_step(insert);
    sqlite3_reset(insert);
}

void sqliteInserts(benchmark::State& state, bool wal) {
    sqlite3* db = openSqlite(wal ? "insert-wal" : "insert-autocommit", wal);
    sqlite3_stmt* insert = prepareInsert(db);
    int i = 0;
    for (auto _ : state) insertDay(insert, i++);
    state.SetItemsProcessed(state.iterations());
    sqlite3_finalize(insert);
    sqlite3_close(db);
}

void BM_SqliteInsertAutocommit(benchmark::State& state) {
    sqliteInserts(state, false);
}
void BM_SqliteInsertWal(benchmark::State& state) {
    sqliteInserts(state, true);
}

// ---- monthly totals ---------------------------------------------------------

const std::string& filledJournal(bool enciphered) {
    static std::map<bool, std::string> made;
    auto it = made.find(enciphered);
    if (it != made.end()) return it->second;
    std::string path = newJournal(enciphered ? "scan-enciphered" : "scan-plain", enciphered);
    rs::Registry store;
    if (!store.openTable(path, {}, false, 1, password(enciphered))) std::abort();
    for (int i = 0; i < kJournalRecords; ++i) appendDay(store, i);
    store.closeTable();
    return made[enciphered] = path;
}

void monthTotals(benchmark::State& state, bool enciphered) {
    const std::string& path = filledJournal(enciphered);
    using qinghe::journal::Field;
    std::vector<std::string> names;
    for (Field f : {Field::G1, Field::G2, Field::G3, Field::PersonalLeave, Field::SickLeave,
                    Field::NightShift, Field::Absence}) {
        names.push_back(qinghe::journal::fieldSpec(f).name);
    }
    const std::string date = qinghe::journal::fieldSpec(Field::Date).name;
    rs::Registry store;
    for (auto _ : state) {
        std::int64_t totals[7] = {};
        store.openTable(path, {}, false, 1, password(enciphered));
        int n = store.recordCount();
        for (int i = 0; i < n; ++i) {
            double day = std::get<rs::Timestamp>(store.readField(date)).days;
            if (qinghe::monthOf(day) == kPickedMonth) {
                for (int f = 0; f < 7; ++f)
                    totals[f] +=
                        std::get<std::int32_t>(store.readField(names[static_cast<std::size_t>(f)]));
            }
            store.skip();
        }
        store.goLast();
        benchmark::DoNotOptimize(store.readField(date));
        store.closeTable();
        benchmark::DoNotOptimize(totals);
        if (totals[0] == 0) state.SkipWithError("nothing totalled");
    }
    state.SetItemsProcessed(state.iterations() * kJournalRecords);
}

void BM_MonthTotalsPlain(benchmark::State& state) {
    monthTotals(state, false);
}
void BM_MonthTotalsEnciphered(benchmark::State& state) {
    monthTotals(state, true);
}

void BM_SqliteMonthTotals(benchmark::State& state) {
    static sqlite3* db = [] {
        sqlite3* d = openSqlite("scan", true);
        sqlite3_exec(d, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* insert = prepareInsert(d);
        for (int i = 0; i < kJournalRecords; ++i) insertDay(insert, i);
        sqlite3_finalize(insert);
        sqlite3_exec(d, "COMMIT", nullptr, nullptr, nullptr);
        return d;
    }();
    for (auto _ : state) {
        std::int64_t totals[7] = {};
        sqlite3_stmt* select = nullptr;
        sqlite3_prepare_v2(db, "SELECT date, g1, g2, g3, leave, sick, night, absent FROM journal",
                           -1, &select, nullptr);
        while (sqlite3_step(select) == SQLITE_ROW) {
            if (qinghe::monthOf(sqlite3_column_double(select, 0)) == kPickedMonth) {
                for (int f = 0; f < 7; ++f) totals[f] += sqlite3_column_int(select, f + 1);
            }
        }
        sqlite3_finalize(select);
        benchmark::DoNotOptimize(totals);
    }
    state.SetItemsProcessed(state.iterations() * kJournalRecords);
}

// ---- decipher -------------------------------------------------------------

void BM_Decipher64MiB(benchmark::State& state) {
    Bytes data(kDecipherBytes, 0x33);
    for (auto _ : state) {
        state.PauseTiming();
        rs::dropKeystreamCache();  // deciphered from cold, as on the first open
        state.ResumeTiming();
        rs::Cipher cipher(kPassword);
        cipher.apply(0, data);
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kDecipherBytes));
}

void BM_RawRc4Keystream64MiB(benchmark::State& state) {
    Bytes data(kDecipherBytes, 0x33);
    for (auto _ : state) {
        arcfour_ctx ctx;
        arcfour_set_key(&ctx, 9, reinterpret_cast<const std::uint8_t*>(kPassword));
        arcfour_crypt(&ctx, data.size(), data.data(), data.data());
        benchmark::DoNotOptimize(data.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(kDecipherBytes));
}

BENCHMARK(BM_AppendPlain)->MinTime(1.0);
BENCHMARK(BM_AppendEnciphered)->MinTime(1.0);
BENCHMARK(BM_SqliteInsertAutocommit)->MinTime(1.0);
BENCHMARK(BM_SqliteInsertWal)->MinTime(1.0);
BENCHMARK(BM_MonthTotalsPlain)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_MonthTotalsEnciphered)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_SqliteMonthTotals)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_Decipher64MiB)->Unit(benchmark::kMillisecond)->MinTime(1.0);
BENCHMARK(BM_RawRc4Keystream64MiB)->Unit(benchmark::kMillisecond)->MinTime(1.0);

}  // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Processor time: the machine is shared, and every operation measured
    // here runs on the calling thread (page cache, no waits).
    qinghe::bench::RatioReporter reporter(qinghe::bench::RatioReporter::Measure::ProcessorTime);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios measured in this run (processor time per operation, a / b):\n");
    reporter.printRatio("SQLite autocommit insert / our append (rate ratio)",
                        "BM_SqliteInsertAutocommit", "BM_AppendPlain", "goal >= 10");
    reporter.printRatio("SQLite WAL insert / our append (rate ratio)", "BM_SqliteInsertWal",
                        "BM_AppendPlain", "goal >= 2");
    reporter.printRatio("append enciphered / plain", "BM_AppendEnciphered", "BM_AppendPlain",
                        "goal <= 1.2");
    reporter.printRatio("month totals plain / SQLite", "BM_MonthTotalsPlain",
                        "BM_SqliteMonthTotals", "goal <= 2");
    reporter.printRatio("month totals enciphered / plain", "BM_MonthTotalsEnciphered",
                        "BM_MonthTotalsPlain", "goal <= 1.2");
    reporter.printRatio("raw RC4 / decipher (share of the raw rate)", "BM_RawRc4Keystream64MiB",
                        "BM_Decipher64MiB", "goal >= 0.85");
    std::filesystem::remove_all(workDirectory());
    return 0;
}
