// What the status window's logic needs from its window and from the tray icon object.
//
// CStatusMonitorDlg and CSysTray implement these on Win32; unit tests use recording fakes.
#pragma once

#include <cstdint>
#include <string>

#include "platform/handles.h"

enum class ShowCommand { kRestore, kHide };

class IStatusView {
 public:
  virtual ~IStatusView() = default;

  // The application's main window (this window): what the poller posts to.
  virtual WindowHandle MainWindow() = 0;
  // m_hIcon as the window's large and small icon.
  virtual void SetWindowIcons() = 0;
  // Creates the heading font (point size in tenths) and gives it to the heading, redrawing it.
  virtual void SetHeadingFont(const char* faceName, int pointSizeTenths) = 0;

  virtual void SetCaption(const std::string& text) = 0;
  virtual void SetVersionText(const std::string& text) = 0;   // control 1010
  virtual void SetTipText(const std::string& text) = 0;       // control 1008
  virtual void SetHeading(const std::string& text) = 0;       // control 1004
  virtual void SetAdviceText(const std::string& text) = 0;    // control 1005
  // STM_SETIMAGE / IMAGE_CURSOR on control 1002; kNoHandle clears it.
  virtual void SetAnimation(ImageHandle cursor) = 0;

  virtual void Show(ShowCommand command) = 0;
  // SetTimer on the window without callback: the id on success, 0 on failure.
  virtual std::uint32_t SetTimer(std::uint32_t id, std::uint32_t milliseconds) = 0;
  virtual bool KillTimer(std::uint32_t id) = 0;
  virtual void EndDialog(int result) = 0;
};

class ITrayIcon {
 public:
  virtual ~ITrayIcon() = default;
  // Creates the message window and the menu and adds the icon; returns 0.
  virtual int CreateTrayIcon(std::uint32_t callbackMessage, const std::string& tip,
                             ImageHandle icon) = 0;
  // Adds the icon again as it was created (after the shell has restarted).
  virtual void RestoreTrayIcon() = 0;
  virtual void RemoveTrayIcon() = 0;
};
