// Fault injection: every operation that writes, failed at every one of its
// changing calls with EIO, a full disk, and a short write followed by a full
// disk. Afterwards the table opens and holds what it must (see
// durability_scenarios.h), whatever the operation reported.
#include <gtest/gtest.h>

#include <iostream>

#include "durability_scenarios.h"
#include "fault_file_system.h"

namespace qinghe::recordstore::testing {
namespace {

class FaultTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultTest, EveryFaultAtEveryChangingCall) {
    const Scenario& s = GetParam();
    TempDir pristine;
    setUpScenario(s, pristine.path());
    makeOldBackup(s, pristine.path());

    auto attempt = [&](Fault fault, std::int64_t n, std::int64_t* calls) {
        TempDir work;
        copyFiles(pristine.path(), work.path());
        FaultFileSystem fs;
        Registry store(fs);
        ASSERT_TRUE(store.openTable(tablePath(work.path()), {}, false, 1, s.password));
        fs.arm(fault, n);
        int acked = 0;
        bool returned = s.run(store, work.path(), &acked);
        store.closeTable();
        if (calls) *calls = fs.calls();
        fs.disarm();
        s.check(work.path(), returned, acked);
    };
    std::int64_t total = 0;
    attempt(Fault::Eio, INT64_MAX, &total);  // counts the calls, fails none
    ASSERT_GT(total, 0);
    int injected = 0;
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (std::int64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n) + " of " + std::to_string(total));
            attempt(fault, n, nullptr);
            ++injected;
            if (HasFatalFailure()) return;
        }
    }
    std::cout << "[ faults   ] " << s.name << ": " << injected << " faults injected\n";
}

INSTANTIATE_TEST_SUITE_P(Operations, FaultTest, ::testing::ValuesIn(durabilityScenarios()),
                         [](const auto& p) { return p.param.name; });

}  // namespace
}  // namespace qinghe::recordstore::testing
