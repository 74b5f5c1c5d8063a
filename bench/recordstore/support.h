// What the benchmark programs share: a scratch directory, the journal's
// fields, and the ratios between the benchmarks of one run.
#pragma once

#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "journal/journal_table.h"

namespace qinghe::bench {

// A directory under /tmp made once per run; the program removes it at its end.
inline const std::string& workDirectory() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/qinghe-bench-XXXXXX";
        return std::string(::mkdtemp(pattern));
    }();
    return dir;
}

// The journal's ten fields, as the program creates them.
using journal::journalFields;

// A console reporter that keeps each benchmark's time per iteration, by its
// name without arguments ("BM_Sort1MPlain" for
// "BM_Sort1MPlain/iterations:5/real_time"), and prints a / b with the goal.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    // Processor time suits work on the calling thread alone; wall-clock time
    // suits work that waits for the disk.
    enum class Measure { ProcessorTime, WallClockTime };
    explicit RatioReporter(Measure measure) : measure_(measure) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const auto& run : runs) {
            if (run.run_type == Run::RT_Iteration && !run.error_occurred) {
                std::string name = run.benchmark_name();
                double total = measure_ == Measure::ProcessorTime ? run.cpu_accumulated_time
                                                                  : run.real_accumulated_time;
                seconds_[name.substr(0, name.find('/'))] =
                    total / static_cast<double>(run.iterations);
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }

    void printRatio(const char* what, const char* a, const char* b, const char* goal) const {
        auto ia = seconds_.find(a), ib = seconds_.find(b);
        if (ia == seconds_.end() || ib == seconds_.end()) return;
        std::printf("%-58s %8.2f   (%s)\n", what, ia->second / ib->second, goal);
    }

  private:
    Measure measure_;
    std::map<std::string, double> seconds_;
};

}  // namespace qinghe::bench
