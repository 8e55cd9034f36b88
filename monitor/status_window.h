// The status window's logic: everything CStatusMonitorDlg decides, without any window system.
//
// StatusWindow owns the monitor's run-time state (the members below keep the names the window
// class uses) and runs the window's start-up, its commands, the show rule, the printer and port
// resolution, the status evaluation, the USB presence tracking and the port access. It reaches
// the platform only through the interfaces in MonitorPlatform, so a unit test can follow each
// command step by step with fakes. CStatusMonitorDlg forwards its messages here.
//
// The code is split by concern: status_window.cpp (start-up, commands, show and paint rules),
// printer_resolution.cpp, status_evaluation.cpp, usb_presence.cpp, port_access.cpp.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "monitor/status_view.h"
#include "platform/devices.h"
#include "platform/files.h"
#include "platform/handles.h"
#include "platform/inventory.h"
#include "platform/kernel.h"
#include "platform/port_io.h"
#include "platform/registry.h"
#include "platform/services.h"
#include "platform/shell.h"
#include "platform/spooler.h"

// Window messages, commands and timers of the status window.
constexpr std::uint32_t kWmStatusMessage = 0x0400 + 258;  // 1282, poller to window
constexpr std::uint32_t kWmTrayNotification = 1039;       // tray icon callback
constexpr std::uint32_t kCmdShowStatusWindow = 101;
constexpr std::uint32_t kCmdRestartMonitoring = 102;
constexpr std::uint32_t kCmdExitMonitor = 104;
constexpr std::uint32_t kLptStatusTimerId = 1;
constexpr std::uint32_t kLptStatusTimerPeriodMs = 1000;
constexpr std::uint32_t kPollerPeriodMs = 1000;
constexpr int kIdOk = 1;  // IDOK

// Resource ids.
constexpr std::uint32_t kIdWindowIcon = 1009;
constexpr std::uint32_t kIdTrayIcon = 1010;
constexpr std::uint32_t kIdErrorAnimation = 165;
constexpr std::uint32_t kIdInformationAnimation = 166;
constexpr std::uint32_t kIdPortDriverImage = 164;

constexpr const char* kTrayTipText = "Ombrix Status Monitor Utility";
constexpr const char* kSearchingAdvice = "Searching the printer...";

// The poller's parameter record: the window to post to and the stop flag.
struct PollerParam {
  WindowHandle hwnd;
  std::atomic<std::int32_t>* pStop;
};

// The platform as the status window reaches it. Every pointer must be set.
struct MonitorPlatform {
  IStatusView* view = nullptr;
  ITrayIcon* tray = nullptr;
  ISpooler* spooler = nullptr;
  IRegistry* registry = nullptr;
  IDevices* devices = nullptr;
  IServices* services = nullptr;
  IPortIo* portIo = nullptr;
  IDeviceInventory* inventory = nullptr;
  IFileSystem* files = nullptr;
  IResources* resources = nullptr;
  IImages* images = nullptr;
  IShellWindows* shellWindows = nullptr;
  IThreads* threads = nullptr;
  // The thread function that runs PollerProc with the PollerParam it is given.
  ThreadProc pollerEntry = nullptr;
};

struct Rgb {
  std::uint8_t r, g, b;
  bool operator==(const Rgb&) const = default;
};

// Colour of the heading's text: blue for exactly "Ready" and "Printing", grey otherwise.
Rgb HeadingTextColour(const std::string& heading);

// SWP_SHOWWINDOW is removed from a position change unless showing is allowed.
constexpr std::uint32_t kSwpShowWindow = 0x0040;
std::uint32_t FilterWindowPosFlags(bool showAllowed, std::uint32_t flags);

// Where OnPaint draws the icon of a minimised window in its client area.
struct IconOrigin {
  int x, y;
};
IconOrigin MinimisedIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

class StatusWindow {
 public:
  explicit StatusWindow(const MonitorPlatform& platform);
  ~StatusWindow();
  StatusWindow(const StatusWindow&) = delete;
  StatusWindow& operator=(const StatusWindow&) = delete;

  // --- window start-up and commands (status_window.cpp) ---
  // Runs once when the window exists, still hidden. Returns true (focus to the Ok button).
  bool OnInitDialog();
  void ShowStatusWindow();   // command 101
  void RestartMonitoring();  // command 102
  void ExitMonitor();        // command 104
  // Ok, Enter, Escape, the close box, Alt+F4: hide, monitoring goes on.
  void HideByUser();
  std::uint32_t OnWindowPosChanging(std::uint32_t flags) const {
    return FilterWindowPosFlags(m_bShowAllowed, flags);
  }
  void OnTimer(std::uint32_t timerId);
  // The shell's notification area came back (registered "TaskbarCreated" message).
  void OnTaskbarCreated();

  // Operations offered to the other concerns.
  void RevealWindow();
  void AutoHideWindow();
  void SetHeading(const std::string& text);
  // Puts animation 165 or 166 (loaded once, kept for the window's life) on the picture
  // control; 0 clears it.
  void SetAnimation(std::uint32_t animationId);
  void PushAdvice();

  // --- printer and port resolution (printer_resolution.cpp) ---
  bool OpenAndResolvePrinter();
  bool ResolvePort();
  bool PortChanged();

  // --- status evaluation (status_evaluation.cpp) ---
  void ReadSpoolerStatus();
  void OnStatusMessage();

  // --- USB presence (usb_presence.cpp) ---
  void CheckUsbPrinterPresence();
  void RegisterUsbNotification();
  // `record` is the message's broadcast header pointer (may be null).
  void OnDeviceChange(std::uintptr_t eventType, const void* record);

  // --- run-time state, read by the window class and by tests ---
  std::int32_t m_nJobStatus = -1;
  std::uint32_t m_nPrinterStatus = 0;
  std::string m_strAdvice = kSearchingAdvice;
  PollerParam* m_pPollerParam = nullptr;
  WindowHandle m_hMainWnd = kNoHandle;
  PrinterHandle m_hPrinter = kNoHandle;
  PrinterDefaults m_printerDefaults;
  std::string m_strPortType;
  std::string m_strPortName;
  NotifyHandle DeviceNotifyHandle = kNoHandle;
  bool UsbPresent = false;
  std::int32_t m_nLptStatus = -1;
  std::uint32_t m_nLptTimer = 0;
  bool m_bShowAllowed = false;

 private:
  void ShowNextTip();
  bool StartPoller();
  void StopStatusTimer();
  ImageHandle Animation(std::uint32_t animationId);

  MonitorPlatform p_;
  ImageHandle m_hErrorAnimation = kNoHandle;
  ImageHandle m_hInformationAnimation = kNoHandle;
};
