// Fault injection: every operation that writes, failed at every one of its
// changing calls with EIO, a full disk, and a short write followed by a full
// disk. Afterwards the table opens and holds what it must (see
// durability_scenarios.h), whatever the operation reported.
#include <gtest/gtest.h>

#include <iostream>

#include "durability_scenarios.h"

namespace qinghe::recordstore::testing {
namespace {

class FaultTest : public ::testing::TestWithParam<Scenario> {};

TEST_P(FaultTest, EveryFaultAtEveryChangingCall) {
    const Scenario& s = GetParam();
    TempDir pristine;
    setUpScenario(s, pristine.path());

    std::int64_t total = changingCalls(s, pristine.path());
    ASSERT_GT(total, 0);
    int injected = 0;
    for (Fault fault : {Fault::Eio, Fault::NoSpace, Fault::ShortWrite}) {
        for (std::int64_t n = 1; n <= total; ++n) {
            SCOPED_TRACE("fault " + std::to_string(static_cast<int>(fault)) + " at call " +
                         std::to_string(n) + " of " + std::to_string(total));
            TempDir work;
            FaultFileSystem fs;
            int acked = 0;
            bool returned = runOnCopy(s, pristine.path(), work.path(), fs, fault, n, &acked);
            fs.disarm();
            s.check(work.path(), returned, acked);
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
