#include "monitor/tray_logic.h"

#include "common/model_table.h"

TrayMenuItem TrayMenuItemAt(int index) {
  if (index == 0) return {101, std::string(PrinterName[kModelRow]) + " Status Monitor"};
  return {104, "Exit"};
}
std::string TrayTipText(const std::string& tip) { return tip.substr(0, kTrayTipMaxChars); }
TrayAction RouteTrayNotification(std::uintptr_t) { return TrayAction::kIgnore; }
void SweepNotificationArea(IShellWindows&) {}
