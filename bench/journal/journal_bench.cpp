// The journal's operations against the record store's own floor, in one run,
// on enciphered journals of 3,650 records (ten years) and of 100,000:
//   recordDay         the duplicate scan and the append of a new day, against
//                     one pass reading every record's date plus one append;
//   totalJournalMonth the month's totals, against one pass reading the same
//                     fields (the date of every record, the hours of the
//                     month's);
//   sortJournal       the sort of the journal into a temporary beside it and
//                     its rename over it, against the record store's
//                     sortInto a second table alone;
//   fillJournalGrid   the window's handler filling the grid, against one pass
//                     reading all ten fields of every record; and the memory
//                     the filled grid holds, against the journal file's size;
//   the page 月历      filling its month calendar and its year chart (the
//                     window's handler, 现行规则), against one pass reading the
//                     date and the hour fields of every record; and painting
//                     either view, against painting the page 工资计算 (as on a
//                     1366 x 768 screen, at scale 1).
// Flushes are left out on both sides (a file system whose flushes do nothing;
// the record store's maintenance benchmark measures what they cost), so the
// ratios compare work, in processor time per operation.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <QApplication>
#include <cstdio>
#include <filesystem>
#include <map>
#include <numeric>
#include <random>

#include "../recordstore/support.h"
#include "app/app_context.h"
#include "app/calendar_page_handler.h"
#include "app/journal_grid_handler.h"
#include "app/journal_views.h"
#include "app/main_form.h"
#include "app/rules_choice.h"
#include "common/clock.h"
#include "common/gbk.h"
#include "journal/journal_maintenance.h"
#include "journal/month_totals.h"
#include "journal/record_day.h"
#include "ui/choice_controls.h"
#include "ui/date_picker.h"
#include "ui/link_opener.h"
#include "ui/page_control.h"
#include "ui/qt_prompts.h"

namespace rs = qinghe::recordstore;
namespace journal = qinghe::journal;
namespace platform = qinghe::platform;
using qinghe::DateTime;
using qinghe::bench::workDirectory;
using namespace qinghe::literals;

namespace {

constexpr const char* kPassword = "benchmark";
constexpr DateTime kFirstDay = 36526.0;  // 2000-01-01
constexpr DateTime kPicked = 36526.0 + 1000.0;

class NoFlushFileSystem final : public platform::ForwardingFileSystem {
  public:
    int sync(int) override { return 0; }
    int syncDirectory(const std::string&) override { return 0; }
};

platform::FileSystem& files() {
    static NoFlushFileSystem noFlush;
    return noFlush;
}

std::filesystem::path folderOf(int count, const char* use) {
    return std::filesystem::path(workDirectory()) / (std::to_string(count) + "-" + use);
}

// An enciphered journal of `count` days in shuffled order, as the program
// records them, made once and copied into a folder of its own for each use.
std::filesystem::path journalFor(int count, const char* use) {
    static std::map<int, std::filesystem::path> made;
    auto it = made.find(count);
    if (it == made.end()) {
        const std::filesystem::path folder = folderOf(count, "source");
        std::filesystem::create_directories(folder);
        rs::Registry store(files());
        journal::JournalAccess access{store, files(), folder.string(), kPassword};
        journal::StoreError error;
        if (!journal::createJournal(access, error)) std::abort();
        std::vector<int> days(static_cast<std::size_t>(count));
        std::iota(days.begin(), days.end(), 0);
        std::shuffle(days.begin(), days.end(), std::mt19937(20130505));
        journal::OpenJournal open(access, journal::OpenMode::ReadWrite);
        for (int day : days) {
            const DateTime date = kFirstDay + day;
            journal::DayEntry e{date, day % 7 == 0 ? "休息"_gbk : std::to_string(day % 11),
                                journal::Field::G1, day % 5 == 0};
            if (!open.append(*journal::dayRecord(e))) std::abort();
        }
        it = made.emplace(count, folder).first;
    }
    const std::filesystem::path copy = folderOf(count, use);
    std::filesystem::remove_all(copy);
    std::filesystem::copy(it->second, copy);
    return copy;
}

journal::JournalAccess accessTo(rs::Registry& store, const std::filesystem::path& folder) {
    return {store, files(), folder.string(), kPassword};
}

std::string tableIn(const std::filesystem::path& folder) {
    return journal::tablePathIn(platform::posixFileSystem(), folder.string(), journal::kTableName);
}

// ---- the floors: the record store alone ------------------------------------

// One pass over the journal reading `fields` of every record (or, with
// `monthOnly`, the date of every record and the other fields of the picked
// month's), then the last record's date.
void pass(rs::Registry& store, const std::filesystem::path& folder, bool allFields,
          bool monthOnly) {
    store.openTable(tableIn(folder), {}, true, 1, kPassword);
    const int n = store.recordCount();
    std::int64_t sum = 0;
    for (int i = 0; i < n; ++i) {
        const DateTime date = std::get<rs::Timestamp>(store.readField(1)).days;
        const bool inMonth = qinghe::monthOf(date) == qinghe::monthOf(kPicked) &&
                             qinghe::yearOf(date) == qinghe::yearOf(kPicked);
        if (allFields || (monthOnly && inMonth)) {
            for (int f = 2; f <= journal::kFieldCount; ++f) {
                const rs::Value v = store.readField(f);
                if (const auto* hours = std::get_if<std::int32_t>(&v)) sum += *hours;
            }
        }
        store.skip();
    }
    store.goLast();
    benchmark::DoNotOptimize(store.readField(1));
    store.closeTable();
    benchmark::DoNotOptimize(sum);
}

void BM_PassAllFields(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "pass");
    rs::Registry store(files());
    for (auto _ : state) pass(store, folder, true, false);
}

void BM_PassTotalsFields(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "pass-totals");
    rs::Registry store(files());
    for (auto _ : state) pass(store, folder, false, true);
}

// The date and the hour fields (G1 ... 病假, 夜班, 旷工) of every record.
void BM_PassDatesAndHours(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "pass-hours");
    rs::Registry store(files());
    for (auto _ : state) {
        store.openTable(tableIn(folder), {}, true, 1, kPassword);
        const int n = store.recordCount();
        std::int64_t sum = 0;
        for (int i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(std::get<rs::Timestamp>(store.readField(1)).days);
            for (const journal::IntegerField& f : journal::kIntegerFields) {
                sum += std::get<std::int32_t>(store.readField(static_cast<int>(f.field)));
            }
            store.skip();
        }
        store.closeTable();
        benchmark::DoNotOptimize(sum);
    }
}

void BM_PassDatesAndAppend(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "pass-append");
    rs::Registry store(files());
    DateTime next = kFirstDay + 2000000.0;
    for (auto _ : state) {
        store.openTable(tableIn(folder), {}, false, 1, kPassword);
        const int n = store.recordCount();
        for (int i = 0; i < n; ++i) {
            benchmark::DoNotOptimize(store.readField(1));
            store.skip();
        }
        journal::JournalRecord r = *journal::dayRecord({next++, "2", journal::Field::G1, false});
        store.appendRecord({rs::Value{rs::Timestamp{r.date}}, rs::Value{r.g1}, rs::Value{r.g2},
                            rs::Value{r.g3}, rs::Value{r.personalLeave}, rs::Value{r.sickLeave},
                            rs::Value{r.remark}, rs::Value{r.weekday}, rs::Value{r.nightShift},
                            rs::Value{r.absence}});
        store.closeTable();
    }
}

void BM_SortInto(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "sort-into");
    rs::Registry store(files());
    store.openTable(tableIn(folder), {}, false, 1, kPassword);
    const std::vector<std::string> key = {journal::fieldSpec(journal::Field::Date).name};
    const std::string target =
        journal::tablePathIn(platform::posixFileSystem(), folder.string(), "临时加班"_gbk);
    for (auto _ : state) {
        if (!store.sortInto(target, key)) state.SkipWithError("sort failed");
    }
    store.closeTable();
}

// ---- the journal's operations ----------------------------------------------

void BM_RecordDay(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "record");
    rs::Registry store(files());
    DateTime next = kFirstDay + 2000000.0;
    for (auto _ : state) {
        journal::StoreError error;
        if (journal::appendDay(accessTo(store, folder), {next++, "2", journal::Field::G1, false},
                               error) != journal::RecordOutcome::Recorded) {
            state.SkipWithError("not recorded");
        }
    }
}

void BM_TotalJournalMonth(benchmark::State& state, int count) {
    const auto folder = journalFor(count, "totals");
    rs::Registry store(files());
    for (auto _ : state) {
        journal::MonthTotals totals;
        journal::StoreError error;
        if (!journal::totalMonth(accessTo(store, folder), kPicked, totals, error)) {
            state.SkipWithError("no totals");
        }
        benchmark::DoNotOptimize(totals);
    }
}

// The sort of the window, each time on the journal in its shuffled order.
void BM_SortJournal(benchmark::State& state, int count) {
    const auto source = journalFor(count, "sort-source");
    const auto folder = folderOf(count, "sort");
    std::filesystem::create_directories(folder);
    rs::Registry store(files());
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::copy(source, folder,
                              std::filesystem::copy_options::recursive |
                                  std::filesystem::copy_options::overwrite_existing);
        state.ResumeTiming();
        journal::StoreError error;
        if (!journal::sortByDate(accessTo(store, folder), error)) {
            state.SkipWithError("sort failed");
        }
    }
}

// The window, offscreen, over the process's record store, every page made.
struct Window {
    Window() {
        app.password = kPassword;
        form.buildAllPages();
    }
    qinghe::app::MainForm form{qinghe::systemClock().now()};
    qinghe::ui::QtPrompts prompts;
    qinghe::ui::DesktopLinkOpener links;
    rs::Registry store{files()};
    qinghe::app::AppContext app{form, prompts, qinghe::systemClock(),
                                qinghe::datafolder::DataFolder({}, store, files()), links};
};

void BM_FillJournalGrid(benchmark::State& state, int count) {
    Window w;
    w.app.folder = qinghe::datafolder::DataFolder(journalFor(count, "grid"), w.store, files());
    for (auto _ : state) qinghe::app::fillJournalGrid(w.app);
}

// The page 月历 filled for the picked date's month, or year, under 现行规则.
void fillCalendar(benchmark::State& state, int count, bool year) {
    Window w;
    w.app.folder = qinghe::datafolder::DataFolder(journalFor(count, year ? "chart" : "calendar"),
                                                  w.store, files());
    w.form.日期框1->setValue(kPicked);
    qinghe::app::showRules(w.app, qinghe::wages::Rules::Current);
    w.form.单选框全年->setChecked(year);
    w.form.单选框月历->setChecked(!year);
    for (auto _ : state) qinghe::app::fillCalendarPage(w.app);
}
void BM_FillMonthCalendar(benchmark::State& state, int count) {
    fillCalendar(state, count, false);
}
void BM_FillYearChart(benchmark::State& state, int count) {
    fillCalendar(state, count, true);
}

// One page, or one view of the page 月历 filled from the journal, painted
// into an image of its size.
void paint(benchmark::State& state, int count, int page, bool year) {
    Window w;
    w.app.folder = qinghe::datafolder::DataFolder(journalFor(count, "paint"), w.store, files());
    w.form.日期框1->setValue(kPicked);
    qinghe::app::showRules(w.app, qinghe::wages::Rules::Current);
    w.form.单选框全年->setChecked(year);
    w.form.单选框月历->setChecked(!year);
    w.form.resize(1366, 708);  // a 1366 x 768 screen, less its panel
    w.form.高级选择夹1->setCurrentPage(page);
    w.form.show();
    QWidget* target = w.form.高级选择夹1->page(page);
    if (page == qinghe::app::kPageCalendar) {
        qinghe::app::fillCalendarPage(w.app);
        target = year ? static_cast<QWidget*>(w.form.年图1) : w.form.月历1;
    }
    QImage image(target->size(), QImage::Format_ARGB32_Premultiplied);
    for (auto _ : state) target->render(&image);
}
void BM_PaintWagesPage(benchmark::State& state, int count) {
    paint(state, count, qinghe::app::kPageWages, false);
}
void BM_PaintMonthCalendar(benchmark::State& state, int count) {
    paint(state, count, qinghe::app::kPageCalendar, false);
}
void BM_PaintYearChart(benchmark::State& state, int count) {
    paint(state, count, qinghe::app::kPageCalendar, true);
}

// The memory the grid holds once filled with the 100,000 records, and the
// journal file's size.
void reportGridMemory() {
    Window w;
    w.app.folder =
        qinghe::datafolder::DataFolder(journalFor(100000, "grid-memory"), w.store, files());
    const std::size_t before = mallinfo2().uordblks;
    qinghe::app::fillJournalGrid(w.app);
    const std::size_t after = mallinfo2().uordblks;
    const auto file =
        std::filesystem::file_size(std::filesystem::path(w.app.folder.path()) / "加班.EDB");
    std::printf("%-58s %8.2f   (%s)\n", "grid memory / journal file, 100,000 records",
                static_cast<double>(after - before) / static_cast<double>(file), "goal <= 2");
    std::printf("    grid %zu bytes, file %ju bytes\n", after - before,
                static_cast<std::uintmax_t>(file));
}

// The benchmarks, each floor before the operation measured against it.
using Benchmark = void (*)(benchmark::State&, int);
constexpr std::pair<const char*, Benchmark> kBenchmarks[] = {
    {"BM_PassDatesAndAppend", BM_PassDatesAndAppend},
    {"BM_RecordDay", BM_RecordDay},
    {"BM_PassTotalsFields", BM_PassTotalsFields},
    {"BM_TotalJournalMonth", BM_TotalJournalMonth},
    {"BM_SortInto", BM_SortInto},
    {"BM_SortJournal", BM_SortJournal},
    {"BM_PassAllFields", BM_PassAllFields},
    {"BM_FillJournalGrid", BM_FillJournalGrid},
    {"BM_PassDatesAndHours", BM_PassDatesAndHours},
    {"BM_FillMonthCalendar", BM_FillMonthCalendar},
    {"BM_FillYearChart", BM_FillYearChart},
    {"BM_PaintWagesPage", BM_PaintWagesPage},
    {"BM_PaintMonthCalendar", BM_PaintMonthCalendar},
    {"BM_PaintYearChart", BM_PaintYearChart},
};
constexpr int kSizes[] = {3650, 100000};

}  // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM",
            qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    QApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    for (int count : kSizes) {
        for (const auto& [name, run] : kBenchmarks) {
            benchmark::RegisterBenchmark((name + std::to_string(count)).c_str(), run, count)
                ->Unit(benchmark::kMillisecond);
        }
    }
    qinghe::bench::RatioReporter reporter(qinghe::bench::RatioReporter::Measure::ProcessorTime);
    benchmark::RunSpecifiedBenchmarks(&reporter);
    std::printf("\nRatios measured in this run (processor time per operation, a / b):\n");
    struct Ratio {
        const char* what;
        const char* operation;
        const char* floor;
        const char* goal;
    };
    constexpr Ratio kRatios[] = {
        {"recordDay / pass of dates + append", "BM_RecordDay", "BM_PassDatesAndAppend",
         "goal <= 2"},
        {"totalJournalMonth / pass of its fields", "BM_TotalJournalMonth", "BM_PassTotalsFields",
         "goal <= 1.5"},
        {"sortJournal / sortInto", "BM_SortJournal", "BM_SortInto", "goal <= 1.3"},
        {"fillJournalGrid / pass of all fields", "BM_FillJournalGrid", "BM_PassAllFields",
         "goal <= 3"},
        {"month calendar / pass of dates and hours", "BM_FillMonthCalendar", "BM_PassDatesAndHours",
         "goal <= 1.2"},
        {"year chart / pass of dates and hours", "BM_FillYearChart", "BM_PassDatesAndHours",
         "goal <= 1.5"},
        {"painting the month calendar / the page 工资计算", "BM_PaintMonthCalendar",
         "BM_PaintWagesPage", "goal <= 1"},
        {"painting the year chart / the page 工资计算", "BM_PaintYearChart", "BM_PaintWagesPage",
         "goal <= 1"},
    };
    for (int count : kSizes) {
        const std::string n = std::to_string(count);
        for (const Ratio& r : kRatios) {
            reporter.printRatio((std::string(r.what) + ", " + n + " records").c_str(),
                                (r.operation + n).c_str(), (r.floor + n).c_str(), r.goal);
        }
    }
    reportGridMemory();
    std::filesystem::remove_all(workDirectory());
    return 0;
}
