#include "monitor/poller.h"

#include <gtest/gtest.h>

#include "fakes.h"

TEST(Poller, PostsAtOnceThenEverySecondUntilStoppedAndClearsTheFlag) {
  std::atomic<std::int32_t> stop{0};
  const PollerParam param{0x1234, &stop};
  fakes::FakeMessagePoster poster;
  fakes::FakeClock clock;
  clock.onSleep = [&](std::size_t sleeps) {
    if (sleeps == 3) stop = 1;
  };
  EXPECT_EQ(PollerProc(&param, poster, clock), 0u);
  ASSERT_EQ(poster.posts.size(), 3u);
  for (const auto& [window, message] : poster.posts) {
    EXPECT_EQ(window, 0x1234u);
    EXPECT_EQ(message, 1282u);
  }
  EXPECT_EQ(clock.sleeps, (std::vector<std::uint32_t>{1000, 1000, 1000}));
  EXPECT_EQ(stop.load(), 0);
}

TEST(Poller, AFlagAlreadySetEndsItWithoutPosting) {
  std::atomic<std::int32_t> stop{1};
  const PollerParam param{0x1, &stop};
  fakes::FakeMessagePoster poster;
  fakes::FakeClock clock;
  PollerProc(&param, poster, clock);
  EXPECT_TRUE(poster.posts.empty());
  EXPECT_EQ(stop.load(), 0);
}
