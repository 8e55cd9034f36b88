// What the tray icon decides: its menu, its tip text, the routing of mouse actions on it, and
// the sweep over the notification area at exit.
#pragma once

#include <cstdint>
#include <string>

#include "platform/shell.h"

constexpr std::uint32_t kTrayIconId = 1;
constexpr std::uint32_t kTrayIconFlags = 7;  // NIF_MESSAGE | NIF_ICON | NIF_TIP
constexpr std::uint32_t kNotifyIconDataSize = 88;
constexpr std::size_t kTrayTipMaxChars = 63;

struct TrayMenuItem {
  std::uint32_t commandId;
  std::string text;
};
// In menu order: 101 PrinterName + " Status Monitor" (the default item), 104 "Exit".
TrayMenuItem TrayMenuItemAt(int index);
constexpr int kTrayMenuItemCount = 2;
constexpr std::uint32_t kTrayDefaultCommand = 101;

// The tip as the icon record holds it: at most 63 characters.
std::string TrayTipText(const std::string& tip);

enum class TrayAction { kIgnore, kShowMenu, kSendShowCommand };
// The mouse message is in the low 16 bits of the callback's second parameter.
TrayAction RouteTrayNotification(std::uintptr_t mouseMessage);

// Passes the pointer over the shell's notification area toolbar (Shell_TrayWnd > TrayNotifyWnd
// > SysPager > ToolbarWindow32) in steps of 5 pixels, x outer, y inner, so that the shell drops
// icons of programs that have ended. Does nothing when a window of the chain is missing.
void SweepNotificationArea(IShellWindows& shell);
