// CStatusMonitorDlg: the status window (dialog template 102), run modally for the life of the
// program.
//
// The window class only connects Win32 to StatusWindow, which makes every decision: the
// messages of the window go to StatusWindow's operations, and StatusWindow reaches the window
// back through IStatusView and the platform through the Win32 adapters held here.
#pragma once

#include <windows.h>

#include "framework/controls.h"
#include "framework/dialog.h"
#include "framework/gdi.h"
#include "monitor/status_view.h"
#include "monitor/status_window.h"
#include "monitor/sys_tray.h"
#include "platform/devices_win.h"
#include "platform/files_win.h"
#include "platform/inventory_win.h"
#include "platform/kernel_win.h"
#include "platform/port_io_win.h"
#include "platform/registry_win.h"
#include "platform/services_win.h"
#include "platform/shell_win.h"
#include "platform/spooler_win.h"

class CStatusMonitorDlg : public CDialog, public IStatusView {
 public:
  enum { IDD = 102 };

  explicit CStatusMonitorDlg(CWnd* parent = nullptr);
  ~CStatusMonitorDlg() override;

  // IStatusView
  WindowHandle MainWindow() override;
  void SetWindowIcons() override;
  void SetHeadingFont(const char* faceName, int pointSizeTenths) override;
  void SetCaption(const std::string& text) override;
  void SetVersionText(const std::string& text) override;
  void SetTipText(const std::string& text) override;
  void SetHeading(const std::string& text) override;
  void SetAdviceText(const std::string& text) override;
  void SetAnimation(ImageHandle cursor) override;
  void Show(ShowCommand command) override;
  std::uint32_t SetTimer(std::uint32_t id, std::uint32_t milliseconds) override;
  bool KillTimer(std::uint32_t id) override;
  void EndDialog(int result) override;

 protected:
  const MessageMap* GetMessageMap() const override;
  void DoDataExchange(CDataExchange* dx) override;
  BOOL OnInitDialog() override;
  void OnOK() override;      // Enter when the Ok button does not have the focus
  void OnCancel() override;  // Escape, the close box, Alt+F4

  LRESULT OnPaint(WPARAM, LPARAM);
  LRESULT OnQueryDragIcon(WPARAM, LPARAM);
  void ShowStatusWindow();
  void RestartMonitoring();
  void ExitMonitor();
  LRESULT OnStatusMessage(WPARAM, LPARAM);
  LRESULT OnDeviceChange(WPARAM eventType, LPARAM record);
  LRESULT OnTimer(WPARAM timerId, LPARAM);
  void OnOkButton();
  LRESULT OnClose(WPARAM, LPARAM);
  LRESULT OnCtlColorStatic(WPARAM dc, LPARAM control);
  LRESULT OnWindowPosChanging(WPARAM, LPARAM windowPos);
  LRESULT OnTaskbarCreated(WPARAM, LPARAM);

 private:
  MonitorPlatform MakePlatform();

  // The platform adapters StatusWindow works through.
  Win32Spooler m_spooler;
  Win32Registry m_registry;
  Win32Devices m_devices;
  Win32Services m_services;
  Win32PortIo m_portIo;
  Win32DeviceInventory m_inventory;
  Win32FileSystem m_files;
  Win32Resources m_resources;
  Win32Images m_images;
  Win32ShellWindows m_shellWindows;
  Win32Threads m_threads;

  CStatic m_stAnimation;  // 1002
  CStatic m_stTip;        // 1008
  CStatic m_stHeading;    // 1004
  CStatic m_stVersion;    // 1010
  HICON m_hIcon;          // 1009
  CSysTray m_tray;
  CFont m_fontHeading;

  StatusWindow m_status;  // last: it works through everything above
};
