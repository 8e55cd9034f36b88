#include "monitor/sys_tray.h"

#include <cstring>

#include "framework/app.h"
#include "monitor/status_window.h"
#include "monitor/tray_logic.h"

static_assert(NOTIFYICONDATAA_V1_SIZE == kNotifyIconDataSize,
              "the first version of the notification icon record is 88 bytes");

CSysTray::~CSysTray() {
  m_menu.DestroyMenu();
  DestroyWindow();
}

int CSysTray::CreateTrayIcon(std::uint32_t callbackMessage, const std::string& tip,
                             ImageHandle icon) {
  CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);

  m_menu.CreatePopupMenu();
  for (int i = 0; i < kTrayMenuItemCount; ++i) {
    const TrayMenuItem item = TrayMenuItemAt(i);
    m_menu.AppendMenu(MF_STRING | MF_ENABLED | MF_UNCHECKED, item.commandId, item.text.c_str());
  }

  m_nid = NOTIFYICONDATAA{};
  m_nid.cbSize = NOTIFYICONDATAA_V1_SIZE;
  m_nid.hWnd = m_hWnd;
  m_nid.uID = kTrayIconId;
  m_nid.hIcon = reinterpret_cast<HICON>(icon);
  m_nid.uFlags = kTrayIconFlags;
  m_nid.uCallbackMessage = callbackMessage;
  const std::string text = TrayTipText(tip);
  // The first version of the record holds 64 characters of tip, the terminating zero included.
  std::strncpy(m_nid.szTip, text.c_str(), kTrayTipMaxChars);
  ::Shell_NotifyIconA(NIM_ADD, &m_nid);
  return 0;
}

void CSysTray::RestoreTrayIcon() {
  if (m_nid.hWnd != nullptr) ::Shell_NotifyIconA(NIM_ADD, &m_nid);
}

void CSysTray::RemoveTrayIcon() { ::Shell_NotifyIconA(NIM_DELETE, &m_nid); }

const MessageMap* CSysTray::GetMessageMap() const {
  static const MessageMapEntry entries[] = {
      OnMessage(kWmTrayNotification, &CSysTray::OnTrayNotification),
  };
  static const MessageMap map{nullptr, entries, 1};
  return &map;
}

LRESULT CSysTray::OnTrayNotification(WPARAM /*wParam*/, LPARAM lParam) {
  CWnd* main = AfxGetMainWnd();
  HWND mainWindow = main != nullptr ? main->m_hWnd : nullptr;
  switch (RouteTrayNotification(static_cast<std::uintptr_t>(lParam))) {
    case TrayAction::kShowMenu: {
      POINT cursor{};
      ::GetCursorPos(&cursor);
      ::SetForegroundWindow(mainWindow);
      m_menu.SetDefaultItem(kTrayDefaultCommand, FALSE);
      m_menu.TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, cursor.x, cursor.y, main);
      ::PostMessageA(mainWindow, WM_NULL, 0, 0);
      break;
    }
    case TrayAction::kSendShowCommand:
      ::SetForegroundWindow(mainWindow);
      ::SendMessageA(mainWindow, WM_COMMAND, kTrayDefaultCommand, 0);
      break;
    case TrayAction::kIgnore:
      break;
  }
  return 0;
}
