#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/ManualClock.h"
#include "platform/WaitEvent.h"

namespace lanterna {
namespace {

using namespace std::chrono_literals;

TEST(TickClock, DifferencesStayRightAcrossTheWrap) {
    EXPECT_EQ(TicksBetween(0xFFFFFF00u, 0x00000100u), 0x200u);
    EXPECT_EQ(TicksBetween(5, 5), 0u);
}

TEST(TickClock, SystemClockWaitEndsAfterItsTime) {
    CWaitEvent event;
    CTickClock& clock = SystemTickClock();
    const Tick before = clock.Now();
    EXPECT_FALSE(event.Wait(clock, 30));
    EXPECT_GE(TicksBetween(before, clock.Now()), 29u);
}

TEST(WaitEvent, SignalIsConsumedByOneWait) {
    CWaitEvent event;
    CManualClock clock;
    event.Signal();
    EXPECT_TRUE(event.Wait(clock, 0));
    EXPECT_FALSE(event.Wait(clock, 0)) << "auto-reset";
    event.Signal();
    event.Reset();
    EXPECT_FALSE(event.Wait(clock, 0));
}

TEST(ManualClock, WaitEndsOnlyWhenAdvancedFarEnough) {
    CManualClock clock(0xFFFFFC00u);  // the wait crosses the wrap of the counter
    CWaitEvent event;
    std::atomic<bool> finished{false};
    bool signalled = true;
    std::thread waiter([&] {
        signalled = event.Wait(clock, 1000);
        finished = true;
    });
    ASSERT_TRUE(clock.AwaitWaitsStarted(1, 5s));
    clock.Advance(999);
    std::this_thread::sleep_for(20ms);
    EXPECT_FALSE(finished) << "999 of 1000 ms";
    clock.Advance(1);
    waiter.join();
    EXPECT_FALSE(signalled);
    EXPECT_EQ(clock.Now(), 0xFFFFFC00u + 1000u);
}

TEST(ManualClock, SignalEndsAWaitWithoutAnyAdvance) {
    CManualClock clock;
    CWaitEvent event;
    bool signalled = false;
    std::thread waiter([&] { signalled = event.Wait(clock, 1000); });
    ASSERT_TRUE(clock.AwaitWaitsStarted(1, 5s));
    event.Signal();
    waiter.join();
    EXPECT_TRUE(signalled);
}

TEST(ManualClock, AutomaticStepMovesEveryReading) {
    CManualClock clock(100);
    clock.SetAutomaticStep(10);
    EXPECT_EQ(clock.Now(), 100u);
    EXPECT_EQ(clock.Now(), 110u);
    CWaitEvent event;
    EXPECT_FALSE(event.Wait(clock, 5)) << "the wait's own readings move the clock past it";
}

TEST(ManualClock, AwaitWaitsStartedGivesUpAfterItsLimit) {
    CManualClock clock;
    EXPECT_FALSE(clock.AwaitWaitsStarted(1, 10ms));
}

}  // namespace
}  // namespace lanterna
