#include "monitor/instance_guard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/model_table.h"

namespace {

// Named mutexes of one machine: a second creation of a live name reports 183.
struct MachineMutexes : IMutexes {
  std::multiset<std::string> live;
  std::vector<std::string> names;  // by handle - 1
  std::uint32_t failWith = 0;      // non-zero: creation fails with this error
  int closes = 0;

  PlatformHandle CreateNamedMutex(const std::string& name, std::uint32_t* lastError) override {
    if (failWith != 0) {
      *lastError = failWith;
      return kNoHandle;
    }
    *lastError = live.count(name) ? win_error::kAlreadyExists : 0;
    live.insert(name);
    names.push_back(name);
    return names.size();
  }
  void CloseHandle(PlatformHandle handle) override {
    ++closes;
    live.erase(live.find(names.at(handle - 1)));
  }
};

struct RecordingStartup : IMonitorStartup {
  std::vector<std::string> steps;
  void InitCommonControls() override { steps.push_back("InitCommonControls"); }
  void FrameworkInitInstance() override { steps.push_back("CWinApp::InitInstance"); }
  void SetRegistryKey(const char* key) override { steps.push_back(std::string("key:") + key); }
  void RunStatusWindow() override { steps.push_back("DoModal"); }
};

}  // namespace

TEST(MonitorStartUp, FirstInstanceRunsTheWindowHoldingTheMutexUntilItEnds) {
  MachineMutexes mutexes;
  RecordingStartup startup;
  struct CheckingStartup : RecordingStartup {
    MachineMutexes* m;
    void RunStatusWindow() override {
      RecordingStartup::RunStatusWindow();
      EXPECT_EQ(m->live.count(InstanceMutexName[kModelRow]), 1u) << "held while the window runs";
    }
  } checking;
  checking.m = &mutexes;
  EXPECT_FALSE(RunMonitorInstance(mutexes, checking));
  EXPECT_EQ(checking.steps,
            (std::vector<std::string>{"InitCommonControls", "CWinApp::InitInstance",
                                      "key:Local AppWizard-Generated Applications", "DoModal"}));
  EXPECT_EQ(mutexes.names, std::vector<std::string>{InstanceMutexName[kModelRow]});
  EXPECT_TRUE(mutexes.live.empty()) << "closed when the window has ended";
}

TEST(MonitorStartUp, SecondInstanceEndsSilentlyAndANewOneStartsAfterTheFirstEnded) {
  MachineMutexes mutexes;
  std::uint32_t ignored = 0;
  const PlatformHandle running = mutexes.CreateNamedMutex(InstanceMutexName[kModelRow], &ignored);

  RecordingStartup second;
  EXPECT_FALSE(RunMonitorInstance(mutexes, second));
  EXPECT_TRUE(second.steps.empty()) << "no window, no framework start";
  EXPECT_EQ(mutexes.live.count(InstanceMutexName[kModelRow]), 1u) << "its own handle is closed";

  mutexes.CloseHandle(running);
  RecordingStartup third;
  RunMonitorInstance(mutexes, third);
  EXPECT_EQ(third.steps.back(), "DoModal");
}

TEST(MonitorStartUp, SiblingModelDoesNotBlockAndFailedCreationRunsUnprotected) {
  MachineMutexes mutexes;
  std::uint32_t ignored = 0;
  mutexes.CreateNamedMutex(InstanceMutexName[kModelRow - 1], &ignored);
  RecordingStartup startup;
  RunMonitorInstance(mutexes, startup);
  EXPECT_EQ(startup.steps.back(), "DoModal");

  MachineMutexes denied;
  denied.failWith = win_error::kAccessDenied;
  RecordingStartup unprotected;
  RunMonitorInstance(denied, unprotected);
  EXPECT_EQ(unprotected.steps.back(), "DoModal");
  EXPECT_EQ(denied.closes, 0) << "a null handle is not closed";
}

TEST(InstanceGuard, CloseIsIdempotent) {
  MachineMutexes mutexes;
  {
    CInstanceGuard guard(mutexes, "Global\\{x}");
    EXPECT_FALSE(guard.IsAlreadyRunning());
    guard.Close();
    EXPECT_EQ(guard.m_hMutex, kNoHandle);
    guard.Close();
  }
  EXPECT_EQ(mutexes.closes, 1);
}
