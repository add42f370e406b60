#include "app/ordered_work.h"

#include <atomic>
#include <gtest/gtest.h>
#include <random>
#include <stdexcept>

namespace app {
namespace {

struct Job {
  int number = 0;
  int micros = 0; // how long its work takes
};

// Work that takes each job's time, and fails the jobs whose number is a multiple of `fail_every`.
std::function<OrderedWork<Job>::Worker()> Sleeper(int fail_every = 0) {
  return [fail_every] {
    return [fail_every](Job& job) {
      std::this_thread::sleep_for(std::chrono::microseconds(job.micros));
      if (fail_every > 0 && job.number % fail_every == 0)
        throw std::runtime_error("job " + std::to_string(job.number));
    };
  };
}

TEST(OrderedWork, JobsComeBackInTheOrderAddedWhateverTheirWorkTakes) {
  for (unsigned threads : {1u, 2u, 4u}) {
    OrderedWork<Job> work(threads, Sleeper());
    std::mt19937 random(threads);
    int taken = 0;
    for (int i = 0; i < 300; ++i) {
      work.Add({i, static_cast<int>(random() % 300)});
      // Taken now and then without waiting, as the save names what is ready.
      while (auto job = work.TakeDone(std::chrono::milliseconds(0)))
        ASSERT_EQ(job->number, taken++);
    }
    while (auto job = work.TakeWhenDone())
      ASSERT_EQ(job->number, taken++);
    EXPECT_EQ(taken, 300) << threads;
    EXPECT_EQ(work.Size(), 0u);
  }
}

TEST(OrderedWork, AFailedJobThrowsInItsPlace) {
  OrderedWork<Job> work(3, Sleeper(5));
  for (int i = 1; i <= 12; ++i)
    work.Add({i, (12 - i) * 100});
  std::vector<std::string> seen;
  for (int i = 1; i <= 12; ++i) {
    try {
      seen.push_back(std::to_string(work.TakeWhenDone()->number));
    } catch (const std::runtime_error& error) {
      seen.push_back(error.what());
    }
  }
  const std::vector<std::string> expected = {"1", "2", "3", "4",      "job 5", "6",
                                             "7", "8", "9", "job 10", "11",    "12"};
  EXPECT_EQ(seen, expected);
}

TEST(OrderedWork, NothingToTakeAndClearedJobs) {
  std::atomic<int> done{0};
  {
    OrderedWork<Job> work(2, [&] {
      return [&](Job& job) {
        std::this_thread::sleep_for(std::chrono::microseconds(job.micros));
        ++done;
      };
    });
    EXPECT_FALSE(work.TakeWhenDone()); // nothing added: no wait
    work.Add({0, 200000});
    EXPECT_FALSE(work.TakeDone(std::chrono::milliseconds(1))); // not done yet
    for (int i = 1; i < 50; ++i)
      work.Add({i, 1000});
    work.Clear();
    EXPECT_EQ(work.Size(), 0u);
    EXPECT_FALSE(work.TakeWhenDone());
    work.Add({50, 0});
    EXPECT_EQ(work.TakeWhenDone()->number, 50);
    for (int i = 51; i < 100; ++i)
      work.Add({i, 1000}); // left for the destructor, which must not wait for them all
  }
  EXPECT_LT(done.load(), 20);
}

} // namespace
} // namespace app
