// Menu, tip, mouse routing and the exit sweep of the tray icon.
#include "monitor/tray_logic.h"

#include "common/model_table.h"

namespace {

constexpr std::uint32_t kWmMouseMove = 0x0200;
constexpr std::uint32_t kWmLButtonDblClk = 0x0203;
constexpr std::uint32_t kWmRButtonUp = 0x0205;
constexpr int kSweepStep = 5;

}  // namespace

TrayMenuItem TrayMenuItemAt(int index) {
  if (index == 0) return {101, std::string(PrinterName[kModelRow]) + " Status Monitor"};
  return {104, "Exit"};
}

std::string TrayTipText(const std::string& tip) { return tip.substr(0, kTrayTipMaxChars); }

TrayAction RouteTrayNotification(std::uintptr_t mouseMessage) {
  switch (mouseMessage & 0xFFFF) {
    case kWmRButtonUp:
      return TrayAction::kShowMenu;
    case kWmLButtonDblClk:
      return TrayAction::kSendShowCommand;
    default:
      return TrayAction::kIgnore;
  }
}

void SweepNotificationArea(IShellWindows& shell) {
  WindowHandle window = shell.FindTopLevel("Shell_TrayWnd");
  for (const char* childClass : {"TrayNotifyWnd", "SysPager", "ToolbarWindow32"}) {
    if (window == kNoHandle) return;
    window = shell.FindChild(window, childClass);
  }
  if (window == kNoHandle) return;

  int right = 0;
  int bottom = 0;
  if (!shell.ClientSize(window, &right, &bottom)) return;
  for (int x = 0; x < right; x += kSweepStep) {
    for (int y = 0; y < bottom; y += kSweepStep) {
      const std::intptr_t position = static_cast<std::intptr_t>(y) * 65536 + x;
      shell.Send(window, kWmMouseMove, 0, position);
    }
  }
}
