// The status window's start-up, commands and evaluation cycle, followed step by step on fakes.
#include "monitor/status_window.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/model_table.h"
#include "common/printing_tips.h"
#include "fakes.h"
#include "monitor/monitor_state.h"
#include "monitor/port_access.h"
#include "monitor/status_evaluation.h"

namespace {

const std::string kPrinter = PrinterName[kModelRow];
const std::string kDsSpooler =
    "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\" + kPrinter + "\\DsSpooler";

class StatusWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetMonitorProcessState();
    // Resources of the program: the two animations.
    f.resources.Add("ANICURSORS", kIdErrorAnimation, std::vector<std::uint8_t>(64, 1));
    f.resources.Add("ANICURSORS", kIdInformationAnimation, std::vector<std::uint8_t>(64, 2));
  }
  void InstallQueue(const std::string& port) { f.spooler.printers[kPrinter].portName = port; }
  void SetRegistryPort(const std::string& port) {
    std::vector<std::uint8_t> multi(port.begin(), port.end());
    multi.push_back(0);
    multi.push_back(0);
    f.registry.SetValue(RegistryRoot::kLocalMachine, kDsSpooler, "portName", 7, multi);
  }
  // The animation handle created for a resource id, kNoHandle if never made.
  ImageHandle AnimationOf(std::uint32_t id) const {
    const void* bits = f.resources.resources.at({"ANICURSORS", id}).data();
    for (const auto& c : f.images.creates) {
      if (c.bits == bits) return c.result;
    }
    return kNoHandle;
  }

  fakes::FakePlatform f;
  StatusWindow w{f.Platform()};
};

}  // namespace

TEST(StatusWindowRules, HeadingColourIsBlueOnlyForExactlyReadyAndPrinting) {
  const Rgb blue{0, 0, 255}, grey{172, 168, 153};
  EXPECT_EQ(HeadingTextColour("Ready"), blue);
  EXPECT_EQ(HeadingTextColour("Printing"), blue);
  for (const char* text : {"Printing...", "ready", "Searching...", "Searching", "No Printer Found",
                           "Communication Error", "Paper-Out Error", "Printer OFFLINE Error", ""}) {
    EXPECT_EQ(HeadingTextColour(text), grey) << text;
  }
}

TEST(StatusWindowRules, ShowFlagIsRemovedUnlessShowingIsAllowed) {
  const std::uint32_t moveShowZorder = 0x0040 | 0x0002 | 0x0004;
  EXPECT_EQ(FilterWindowPosFlags(false, moveShowZorder), 0x0006u);
  EXPECT_EQ(FilterWindowPosFlags(false, 0x0080 /* hide */), 0x0080u);
  EXPECT_EQ(FilterWindowPosFlags(true, moveShowZorder), moveShowZorder);
}

TEST(StatusWindowRules, MinimisedIconIsCentred) {
  EXPECT_EQ(MinimisedIconOrigin(100, 60, 32, 32).x, 34);
  EXPECT_EQ(MinimisedIconOrigin(100, 60, 32, 32).y, 14);
  EXPECT_EQ(MinimisedIconOrigin(33, 32, 32, 32).x, 1);  // (33 - 32 + 1) / 2
  EXPECT_EQ(MinimisedIconOrigin(33, 32, 32, 32).y, 0);
}

TEST_F(StatusWindowTest, StartUpFillsTheHiddenWindowAndStartsThePoller) {
  InstallQueue("FILE:");
  EXPECT_TRUE(w.OnInitDialog());

  EXPECT_EQ(f.view.advices.front(), "Searching the printer...");
  EXPECT_EQ(f.view.windowIconCalls, 1);
  ASSERT_EQ(f.view.headingFonts.size(), 1u);
  EXPECT_EQ(f.view.headingFonts[0], std::make_pair(std::string("Arial"), 140));
  ASSERT_EQ(f.tray.creates.size(), 1u);
  EXPECT_EQ(f.tray.creates[0].callbackMessage, 1039u);
  EXPECT_EQ(f.tray.creates[0].tip, "Ombrix Status Monitor Utility");
  EXPECT_EQ(f.images.iconLoads, std::vector<std::uint32_t>{1010});

  ASSERT_EQ(f.threads.starts.size(), 1u);
  const auto* param = static_cast<PollerParam*>(f.threads.starts[0].argument);
  EXPECT_EQ(param, w.m_pPollerParam);
  EXPECT_EQ(param->hwnd, f.view.mainWindow);
  EXPECT_EQ(param->pStop, &g_pollerStop);
  EXPECT_EQ(g_pollerStop.load(), 0);
  EXPECT_EQ(g_pPollerThread, f.threads.starts[0].result);

  EXPECT_EQ(f.view.captions, std::vector<std::string>{kPrinter + " - Status Monitor"});
  EXPECT_EQ(f.view.versions, std::vector<std::string>{"Ver 2.01 (9W)"});
  EXPECT_EQ(f.view.tips, std::vector<std::string>{PrintingTips[0]});
  EXPECT_EQ(g_tipIndex, 1);
  EXPECT_FALSE(w.m_bShowAllowed);
  EXPECT_TRUE(f.view.shows.empty()) << "the window stays hidden";
  EXPECT_EQ(w.m_strPortType, "FILE:");

  // Order: tray icon, queue, poller, USB scan, notification registration.
  const auto& log = f.log;
  EXPECT_LT(log.IndexOf("tray.CreateTrayIcon"), log.IndexOf("spooler.OpenPrinter"));
  EXPECT_LT(log.IndexOf("spooler.OpenPrinter"), log.IndexOf("threads.Start"));
  EXPECT_LT(log.IndexOf("threads.Start"), log.IndexOf("devices.GetPresentInterfaces"));
  EXPECT_LT(log.IndexOf("devices.GetPresentInterfaces"),
            log.IndexOf("devices.RegisterInterfaceNotification"));
}

TEST_F(StatusWindowTest, MissingQueueShowsNoPrinterFoundAndTheShowCommandTriesAgain) {
  w.OnInitDialog();
  EXPECT_TRUE(f.threads.starts.empty()) << "no poller without a queue";
  EXPECT_EQ(f.view.Heading(), "No Printer Found");
  EXPECT_EQ(f.view.Advice(), kPrinter + " not installed.");
  EXPECT_NE(f.view.Animation(), kNoHandle);
  EXPECT_EQ(f.view.Animation(), AnimationOf(kIdErrorAnimation));

  // A message still arriving changes nothing while no queue is open.
  const std::size_t headings = f.view.headings.size();
  w.OnStatusMessage();
  EXPECT_EQ(f.view.headings.size(), headings);

  w.ShowStatusWindow();
  EXPECT_EQ(f.spooler.openNames.size(), 2u);
  EXPECT_TRUE(f.threads.starts.empty());
  EXPECT_EQ(f.view.Heading(), "No Printer Found");

  InstallQueue("COM1:");
  w.ShowStatusWindow();
  EXPECT_EQ(f.threads.starts.size(), 1u);
  EXPECT_EQ(w.m_strPortType, "COM");
}

TEST_F(StatusWindowTest, ShowCommandRevealsWithTheNextTipAndWrapsAfterTheLast) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  for (int i = 1; i <= 12; ++i) {
    w.ShowStatusWindow();
    EXPECT_EQ(f.view.tips.back(), PrintingTips[i % 11]) << "show " << i;
  }
  EXPECT_TRUE(w.m_bShowAllowed);
  EXPECT_EQ(g_searching, 1);
  EXPECT_EQ(f.view.shows.size(), 12u);
  EXPECT_TRUE(f.view.Visible());
}

TEST_F(StatusWindowTest, RestartWaitsForTheOldPollerSoAtMostOneRuns) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  const ThreadHandle first = g_pPollerThread;
  w.RestartMonitoring();
  EXPECT_EQ(f.threads.joins, std::vector<ThreadHandle>{first});
  EXPECT_EQ(f.threads.closes, std::vector<ThreadHandle>{first});
  ASSERT_EQ(f.threads.starts.size(), 2u);
  EXPECT_EQ(g_pPollerThread, f.threads.starts[1].result);
  EXPECT_EQ(f.threads.starts[1].argument, w.m_pPollerParam) << "the same record, refilled";
  EXPECT_EQ(g_pollerStop.load(), 0);
  EXPECT_EQ(f.threads.handles.open.size(), 1u);
  EXPECT_EQ(f.spooler.OpenHandleCount(), 1) << "one queue handle at a time";
}

TEST_F(StatusWindowTest, FailedRestartLeavesTheOldPollerToStopOnItsFlag) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  f.spooler.printers.clear();
  w.RestartMonitoring();
  EXPECT_EQ(g_pollerStop.load(), 1) << "the running poller is asked to stop";
  EXPECT_TRUE(f.threads.joins.empty()) << "the window does not wait";
  EXPECT_EQ(f.threads.starts.size(), 1u);
  EXPECT_EQ(f.view.Heading(), "No Printer Found");
  EXPECT_EQ(f.spooler.OpenHandleCount(), 0);

  InstallQueue("FILE:");
  w.RestartMonitoring();
  EXPECT_EQ(f.threads.joins.size(), 1u) << "the ended poller is collected before a new one";
  EXPECT_EQ(f.threads.starts.size(), 2u);
  EXPECT_EQ(f.threads.handles.open.size(), 1u);
}

TEST_F(StatusWindowTest, UserHidesWithoutTouchingTheShowPermission) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  w.ShowStatusWindow();
  w.HideByUser();
  EXPECT_EQ(f.view.shows.back(), ShowCommand::kHide);
  EXPECT_TRUE(w.m_bShowAllowed);
  EXPECT_TRUE(f.tray.Present());
  EXPECT_EQ(f.threads.terminates.size(), 0u) << "monitoring goes on";
}

TEST_F(StatusWindowTest, ExitStopsEverythingInOrderAndEndsTheDialog) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  f.shellWindows.AddNotificationArea(10, 10);
  w.ExitMonitor();

  EXPECT_EQ(f.threads.terminates.size(), 1u);
  EXPECT_EQ(g_pPollerThread, kNoHandle);
  EXPECT_EQ(w.m_pPollerParam, nullptr);
  EXPECT_FALSE(f.tray.Present());
  EXPECT_EQ(f.devices.unregistered.size(), 1u);
  EXPECT_EQ(f.spooler.OpenHandleCount(), 0);
  EXPECT_EQ(f.view.endDialogs, std::vector<int>{1});
  const auto& log = f.log;
  EXPECT_LT(log.IndexOf("threads.Terminate"), log.IndexOf("shell.Send"));
  EXPECT_LT(log.IndexOf("shell.Send"), log.IndexOf("tray.RemoveTrayIcon"));
  EXPECT_LT(log.IndexOf("tray.RemoveTrayIcon"), log.IndexOf("devices.UnregisterNotification"));
  EXPECT_LT(log.IndexOf("devices.UnregisterNotification"), log.IndexOf("spooler.ClosePrinter"));
  EXPECT_LT(log.IndexOf("spooler.ClosePrinter"), log.IndexOf("view.EndDialog"));

  // A poller message still queued is not evaluated after the end.
  const std::size_t headings = f.view.headings.size();
  w.OnStatusMessage();
  EXPECT_EQ(f.view.headings.size(), headings);
}

TEST_F(StatusWindowTest, TrayIconComesBackWhenTheShellRestarts) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  w.OnTaskbarCreated();
  EXPECT_EQ(f.tray.restores, 1);
}

TEST_F(StatusWindowTest, EvaluationAppliesAStateOnceAndReusesTheAnimations) {
  InstallQueue("FILE:");
  SetRegistryPort("FILE:");
  w.OnInitDialog();
  w.OnStatusMessage();
  EXPECT_EQ(f.view.Heading(), "Ready");
  EXPECT_EQ(f.view.Advice(), "Ready to print.");
  EXPECT_EQ(f.view.Animation(), AnimationOf(kIdInformationAnimation));
  const std::size_t headings = f.view.headings.size();
  const std::size_t advices = f.view.advices.size();
  w.OnStatusMessage();
  EXPECT_EQ(f.view.headings.size(), headings) << "steady state is not set again";
  EXPECT_EQ(f.view.advices.size(), advices + 1) << "the advice is pushed every evaluation";
  EXPECT_TRUE(f.view.shows.empty());

  // Paused: the window comes up with the model's name in the text.
  f.spooler.printers[kPrinter].status = 0x1;
  w.OnStatusMessage();
  EXPECT_EQ(f.view.Heading(), "Communication Error");
  EXPECT_NE(f.view.Advice().find(kPrinter), std::string::npos);
  EXPECT_TRUE(f.view.Visible());
  EXPECT_TRUE(w.m_bShowAllowed);
  EXPECT_EQ(f.view.Animation(), AnimationOf(kIdErrorAnimation));

  for (int i = 0; i < 6; ++i) {
    f.spooler.printers[kPrinter].status = (i % 2) ? 0x1 : 0x0;
    w.OnStatusMessage();
  }
  EXPECT_EQ(f.images.creates.size(), 2u) << "each animation is made once";
  EXPECT_TRUE(f.images.destroyed.empty());
}

TEST_F(StatusWindowTest, ShowCommandSearchesForThreeEvaluationsThenAppliesTheStateAgain) {
  InstallQueue("FILE:");
  SetRegistryPort("FILE:");
  w.OnInitDialog();
  w.OnStatusMessage();
  w.ShowStatusWindow();
  for (int i = 0; i < 3; ++i) {
    w.OnStatusMessage();
    EXPECT_EQ(f.view.Heading(), "Searching") << i;
    EXPECT_EQ(f.view.Advice(), "Searching the printer...");
    EXPECT_EQ(f.view.Animation(), kNoHandle);
  }
  w.OnStatusMessage();
  EXPECT_EQ(f.view.Heading(), "Ready");
}

TEST_F(StatusWindowTest, PrintingJobAutoHidesTheShownWindowOnTheFourthEvaluation) {
  InstallQueue("USB001");
  SetRegistryPort("USB001");
  f.spooler.printers[kPrinter].jobs = {0x2010};
  w.OnInitDialog();
  w.RevealWindow();
  for (int i = 1; i <= 3; ++i) {
    w.OnStatusMessage();
    EXPECT_TRUE(f.view.Visible()) << i;
  }
  EXPECT_EQ(f.view.Heading(), "Printing");
  w.OnStatusMessage();
  EXPECT_FALSE(f.view.Visible());
  EXPECT_FALSE(w.m_bShowAllowed);
}

TEST_F(StatusWindowTest, MovedQueueRestartsMonitoringAndDoesNothingElseThatCycle) {
  InstallQueue("FILE:");
  SetRegistryPort("FILE:");
  w.OnInitDialog();
  w.OnStatusMessage();
  const int reads = f.spooler.getPrinter2Calls;
  const std::size_t headings = f.view.headings.size();

  InstallQueue("USB001");
  SetRegistryPort("USB001");
  w.OnStatusMessage();
  EXPECT_EQ(f.spooler.getPrinter2Calls, reads) << "no spooler query in the restarting cycle";
  EXPECT_EQ(f.view.headings.size(), headings);
  EXPECT_EQ(w.m_strPortName, "USB001");
  EXPECT_EQ(f.threads.starts.size(), 2u);
  w.OnStatusMessage();
  EXPECT_EQ(f.view.Heading(), "Communication Error") << "USB printer not plugged in: state 20";
  EXPECT_FALSE(f.view.Visible());
}

TEST_F(StatusWindowTest, SpoolerQueryFailureKeepsTheLastQueueStatus) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  f.spooler.printers[kPrinter].status = 0x80;
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nPrinterStatus, 0x80u);

  f.spooler.printers[kPrinter].status = 0x1;
  f.spooler.enumJobsStub = true;  // as under Wine: FALSE, needed 0, no error
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nPrinterStatus, 0x80u);
  EXPECT_EQ(w.m_nJobStatus, -1);

  f.spooler.enumJobsStub = false;
  f.spooler.getPrinter2Fails = true;
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nPrinterStatus, 0x80u);
}

TEST_F(StatusWindowTest, JobScanIsSkippedForQueueErrorsAndPicksThePrintingJob) {
  InstallQueue("FILE:");
  w.OnInitDialog();
  auto& queue = f.spooler.printers[kPrinter];
  queue.jobs = {0x8, 0x2010, 0x50, 0x10};
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nJobStatus, 0x50);
  EXPECT_EQ(f.spooler.enumJobsCounts.back(), 4u) << "as many jobs as the queue reports";

  queue.status = 0x2;  // error: no job is selected
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nJobStatus, -1);
  EXPECT_EQ(w.m_nPrinterStatus, 0x2u);

  queue.status = 0x0;
  queue.jobs.clear();
  w.ReadSpoolerStatus();
  EXPECT_EQ(w.m_nJobStatus, -1);
  EXPECT_EQ(w.m_nPrinterStatus, 0x0u);
}
