// A console reporter that, after the usual report, prints the processor time
// of one benchmark against that of its peer in the same run (the machine may
// be shared), by the medians when the runs are repeated:
//   PREFIX RATIO SUFFIX
// with the ratio to two places, as "December's cumulative tax: 1.08x ...".
#pragma once

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <utility>
#include <vector>

class RatioReporter : public benchmark::ConsoleReporter {
  public:
    RatioReporter(std::string ours, std::string peer, std::string prefix, std::string suffix)
        : ours_(std::move(ours)),
          peer_(std::move(peer)),
          prefix_(std::move(prefix)),
          suffix_(std::move(suffix)) {}

    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name.empty() || run.aggregate_name == "median") {
                times_[run.run_name.function_name] = run.GetAdjustedCPUTime();
            }
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double peer = times_[peer_];
        if (peer <= 0) return;
        std::printf("%s%.2f%s\n", prefix_.c_str(), times_[ours_] / peer, suffix_.c_str());
    }

  private:
    std::string ours_, peer_, prefix_, suffix_;
    std::map<std::string, double> times_;
};
