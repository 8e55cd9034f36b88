#include "monitor/instance_guard.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "common/model_table.h"
#include "fakes.h"

namespace {

// Open handles to the named mutex.
int OpenHandlesTo(const fakes::FakeMutexes& m, const std::string& name) {
  int n = 0;
  for (const auto& [handle, named] : m.nameOfHandle) n += named == name && m.handles.open.count(handle);
  return n;
}

struct RecordingStartup : IMonitorStartup {
  std::vector<std::string> steps;
  void InitCommonControls() override { steps.push_back("InitCommonControls"); }
  void FrameworkInitInstance() override { steps.push_back("CWinApp::InitInstance"); }
  void SetRegistryKey(const char* key) override { steps.push_back(std::string("key:") + key); }
  void RunStatusWindow() override { steps.push_back("DoModal"); }
};

}  // namespace

TEST(MonitorStartUp, FirstInstanceRunsTheWindowHoldingTheMutexUntilItEnds) {
  fakes::FakeMutexes mutexes;
  struct CheckingStartup : RecordingStartup {
    fakes::FakeMutexes* m;
    void RunStatusWindow() override {
      RecordingStartup::RunStatusWindow();
      EXPECT_EQ(OpenHandlesTo(*m, InstanceMutexName[kModelRow]), 1) << "held while the window runs";
    }
  } checking;
  checking.m = &mutexes;
  EXPECT_FALSE(RunMonitorInstance(mutexes, checking));
  EXPECT_EQ(checking.steps,
            (std::vector<std::string>{"InitCommonControls", "CWinApp::InitInstance",
                                      "key:Local AppWizard-Generated Applications", "DoModal"}));
  EXPECT_EQ(mutexes.creates, std::vector<std::string>{InstanceMutexName[kModelRow]});
  EXPECT_TRUE(mutexes.handles.open.empty()) << "closed when the window has ended";
}

TEST(MonitorStartUp, SecondInstanceEndsSilentlyAndANewOneStartsAfterTheFirstEnded) {
  fakes::FakeMutexes mutexes;
  std::uint32_t ignored = 0;
  const PlatformHandle running = mutexes.CreateNamedMutex(InstanceMutexName[kModelRow], &ignored);

  RecordingStartup second;
  EXPECT_FALSE(RunMonitorInstance(mutexes, second));
  EXPECT_TRUE(second.steps.empty()) << "no window, no framework start";
  EXPECT_EQ(OpenHandlesTo(mutexes, InstanceMutexName[kModelRow]), 1) << "its own handle is closed";

  mutexes.CloseHandle(running);
  RecordingStartup third;
  RunMonitorInstance(mutexes, third);
  EXPECT_EQ(third.steps.back(), "DoModal");
}

TEST(MonitorStartUp, SiblingModelDoesNotBlockAndFailedCreationRunsUnprotected) {
  fakes::FakeMutexes mutexes;
  std::uint32_t ignored = 0;
  mutexes.CreateNamedMutex(InstanceMutexName[kModelRow - 1], &ignored);
  RecordingStartup startup;
  RunMonitorInstance(mutexes, startup);
  EXPECT_EQ(startup.steps.back(), "DoModal");

  fakes::FakeMutexes denied;
  denied.createFails = true;
  RecordingStartup unprotected;
  RunMonitorInstance(denied, unprotected);
  EXPECT_EQ(unprotected.steps.back(), "DoModal");
  EXPECT_TRUE(denied.closed.empty()) << "a null handle is not closed";
}

TEST(InstanceGuard, CloseIsIdempotent) {
  fakes::FakeMutexes mutexes;
  {
    CInstanceGuard guard(mutexes, "Global\\{x}");
    EXPECT_FALSE(guard.IsAlreadyRunning());
    guard.Close();
    EXPECT_EQ(guard.m_hMutex, kNoHandle);
    guard.Close();
  }
  EXPECT_EQ(mutexes.closed.size(), 1u);
}
