#include "monitor/tray_logic.h"

#include <gtest/gtest.h>

#include "common/model_table.h"
#include "monitor/monitor_state.h"
#include "tests/unit/fakes.h"

namespace {

using fakes::FakeShellWindows;

TEST(TrayMenu, ShowItemFirstThenExit) {
  const TrayMenuItem first = TrayMenuItemAt(0);
  const TrayMenuItem second = TrayMenuItemAt(1);
  EXPECT_EQ(first.commandId, kTrayDefaultCommand);
  EXPECT_EQ(first.text, std::string(PrinterName[kModelRow]) + " Status Monitor");
  EXPECT_EQ(second.commandId, 104u);
  EXPECT_EQ(second.text, "Exit");
}

TEST(TrayMenu, ShippedModelItemText) {
  if (kModelRow != 14) GTEST_SKIP() << "the shipped row only";
  EXPECT_EQ(TrayMenuItemAt(0).text, "Veltro LX90 VENDRA (ESC P) Status Monitor");
}

TEST(TrayTip, CutToSixtyThreeCharacters) {
  const std::string exact(63, 'a');
  EXPECT_EQ(TrayTipText(exact), exact);
  EXPECT_EQ(TrayTipText(exact + "bcd"), exact);
  EXPECT_EQ(TrayTipText(kTrayTipText), "Ombrix Status Monitor Utility");
  EXPECT_EQ(TrayTipText(""), "");
}

TEST(TrayRouting, OnlyRightButtonUpAndLeftDoubleClickAct) {
  struct Case {
    std::uintptr_t message;
    TrayAction action;
  };
  const Case cases[] = {
      {0x0205, TrayAction::kShowMenu},         // WM_RBUTTONUP
      {0x0203, TrayAction::kSendShowCommand},  // WM_LBUTTONDBLCLK
      {0x0204, TrayAction::kIgnore},           // WM_RBUTTONDOWN held
      {0x0201, TrayAction::kIgnore},           // WM_LBUTTONDOWN
      {0x0202, TrayAction::kIgnore},           // WM_LBUTTONUP
      {0x0206, TrayAction::kIgnore},           // WM_RBUTTONDBLCLK
      {0x0200, TrayAction::kIgnore},           // WM_MOUSEMOVE
      {0x0000, TrayAction::kIgnore},
      // Only the low 16 bits carry the mouse message.
      {0x00010205, TrayAction::kShowMenu},
      {0xABCD0203, TrayAction::kSendShowCommand},
      {0x02050000, TrayAction::kIgnore},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RouteTrayNotification(c.message), c.action) << std::hex << c.message;
  }
}

class SweepTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetMonitorProcessState(); }
  FakeShellWindows shell;
};

TEST_F(SweepTest, ToolbarOf200By40GetsMouseMovesXOuterYInner) {
  const WindowHandle toolbar = shell.AddNotificationArea(200, 40);
  SweepNotificationArea(shell);

  ASSERT_EQ(shell.sent.size(), 320u);
  auto at = [&](std::size_t i) {
    const auto& m = shell.sent[i];
    return std::pair<long, long>(m.lParam & 0xFFFF, m.lParam >> 16);
  };
  EXPECT_EQ(at(0), std::make_pair(0L, 0L));
  EXPECT_EQ(at(1), std::make_pair(0L, 5L));
  EXPECT_EQ(at(8), std::make_pair(5L, 0L));
  EXPECT_EQ(at(319), std::make_pair(195L, 35L));
  for (const auto& m : shell.sent) {
    EXPECT_EQ(m.window, toolbar);
    EXPECT_EQ(m.message, 0x0200u);
    EXPECT_EQ(m.wParam, 0u);
  }
  EXPECT_EQ(shell.sent[9].lParam, 5 * 65536 + 5);
}

TEST_F(SweepTest, EdgesNotMultipleOfStepAreIncludedBelowTheEdge) {
  shell.AddNotificationArea(11, 1);  // x = 0, 5, 10; y = 0
  SweepNotificationArea(shell);
  ASSERT_EQ(shell.sent.size(), 3u);
  EXPECT_EQ(shell.sent[2].lParam, 10);
}

TEST_F(SweepTest, EmptyToolbarGetsNothing) {
  for (auto [right, bottom] : {std::pair{0, 40}, std::pair{200, 0}, std::pair{-5, 40}}) {
    FakeShellWindows s;
    s.AddNotificationArea(right, bottom);
    SweepNotificationArea(s);
    EXPECT_TRUE(s.sent.empty()) << right << "x" << bottom;
  }
}

TEST_F(SweepTest, MissingWindowOfTheChainEndsTheSweep) {
  // Remove one window of the chain at a time; Wine, for one, has only Shell_TrayWnd.
  for (int missing = 0; missing < 4; ++missing) {
    FakeShellWindows s;
    s.AddNotificationArea(200, 40);
    if (missing == 0) s.topLevel.clear();
    if (missing == 1) s.children.erase({0x6001, "TrayNotifyWnd"});
    if (missing == 2) s.children.erase({0x6002, "SysPager"});
    if (missing == 3) s.children.erase({0x6003, "ToolbarWindow32"});
    SweepNotificationArea(s);
    EXPECT_TRUE(s.sent.empty()) << "missing window " << missing;
  }
}

TEST_F(SweepTest, ChainIsSearchedInOrder) {
  shell.AddNotificationArea(5, 5);
  SweepNotificationArea(shell);
  EXPECT_EQ(shell.searches, (std::vector<std::string>{"Shell_TrayWnd", "TrayNotifyWnd",
                                                      "SysPager", "ToolbarWindow32"}));
  EXPECT_EQ(shell.sent.size(), 1u);
}

TEST_F(SweepTest, UnreadableClientAreaSendsNothing) {
  shell.AddNotificationArea(200, 40);
  shell.clientSizes.clear();
  SweepNotificationArea(shell);
  EXPECT_TRUE(shell.sent.empty());
}

}  // namespace
