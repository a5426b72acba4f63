// Retrying a port that is missing or vanished: about once a second, at once
// on a device announcement, never two opens at a time, and no stale result
// used after another port was chosen.
#include <gtest/gtest.h>

#include "app/port_keeper.h"

namespace {

TEST(PortKeeper, RetriesOnceASecondUntilThePortOpens) {
    PortKeeper k;
    EXPECT_FALSE(PortRetryDue(k, 0)) << "nothing to retry before a failure";
    StartPortRetries(k, 100);
    EXPECT_FALSE(PortRetryDue(k, 100 + PortRetryMs - 1));
    ASSERT_TRUE(PortRetryDue(k, 100 + PortRetryMs));
    EXPECT_FALSE(PortRetryDue(k, 5000)) << "one attempt at a time, however slow";
    EXPECT_FALSE(PortAttemptEnded(k, k.attempt, false, 5000));
    EXPECT_FALSE(PortRetryDue(k, 5000 + PortRetryMs - 1));
    ASSERT_TRUE(PortRetryDue(k, 5000 + PortRetryMs));
    EXPECT_TRUE(PortAttemptEnded(k, k.attempt, true, 6100)) << "the opened port is used";
    EXPECT_FALSE(k.retrying);
    EXPECT_FALSE(PortRetryDue(k, 99999));
}

TEST(PortKeeper, ADeviceAnnouncementTriesAtOnce) {
    PortKeeper k;
    PortsArrived(k, 10);
    EXPECT_FALSE(PortRetryDue(k, 10)) << "no retries: an announcement opens nothing";
    StartPortRetries(k, 0);
    PortsArrived(k, 20);
    EXPECT_TRUE(PortRetryDue(k, 20));
}

TEST(PortKeeper, AResultAfterAnotherChoiceIsThrownAway) {
    PortKeeper k;
    StartPortRetries(k, 0);
    ASSERT_TRUE(PortRetryDue(k, PortRetryMs));
    const uint32_t old = k.attempt;
    StopPortRetries(k);  // the user chose another port meanwhile
    EXPECT_FALSE(PortAttemptEnded(k, old, true, 1500)) << "the old port must be closed, not used";
    StartPortRetries(k, 2000);  // ... and that one failed too
    EXPECT_FALSE(PortAttemptEnded(k, old, true, 2100));
    ASSERT_TRUE(PortRetryDue(k, 2000 + PortRetryMs));
    EXPECT_TRUE(PortAttemptEnded(k, k.attempt, true, 3100));
}

}  // namespace
