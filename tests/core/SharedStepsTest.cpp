#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <thread>
#include <vector>

#include "generate/SharedSteps.h"

namespace usbwiz {
namespace {

// Whichever thread takes them, the steps after the gate start once those before it are done.
TEST(SharedSteps, NoStepPastTheGateStartsBeforeTheStepsBeforeIt) {
    for (int round = 0; round < 30; ++round) {
        const int helpers = round % 3;
        std::atomic<int> done{0};
        int seen[2] = {-1, -1};
        std::vector<SharedSteps::Step> steps{
            [&] {
                std::this_thread::sleep_for(std::chrono::milliseconds(2));
                ++done;
            },
            [&] { ++done; },
            [&] { seen[0] = done; },
            [&] { seen[1] = done; },
        };
        SharedSteps(std::move(steps), 2, helpers).Finish();
        EXPECT_EQ(seen[0], 2);
        EXPECT_EQ(seen[1], 2);
    }
}

// A step that throws reaches the run's thread; what follows it is not done.
TEST(SharedSteps, AThrownStepIsRethrownAndEndsTheSteps) {
    bool after = false;
    std::vector<SharedSteps::Step> steps{[] { throw std::runtime_error("no key"); },
                                         [&] { after = true; }};
    SharedSteps shared(std::move(steps), 1, 1);
    EXPECT_THROW(shared.Finish(), std::runtime_error);
    EXPECT_FALSE(after);
}

}  // namespace
}  // namespace usbwiz
