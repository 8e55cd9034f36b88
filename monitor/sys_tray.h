// CSysTray: the monitor's notification area icon, its tip and its two-item popup menu.
//
// An invisible message window receives the icon's callback message; mouse actions on the icon
// become commands of the program's main window (the status window): a right click shows the
// menu ("<printer> Status Monitor" = 101, the default item, and "Exit" = 104), a double click
// sends 101. Nothing exists until CreateTrayIcon; RemoveTrayIcon deletes the icon; the menu and
// the message window go with the object.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include "framework/menu.h"
#include "framework/wnd.h"
#include "monitor/status_view.h"

class CSysTray : public CWnd, public ITrayIcon {
 public:
  CSysTray() = default;
  ~CSysTray() override;

  int CreateTrayIcon(std::uint32_t callbackMessage, const std::string& tip,
                     ImageHandle icon) override;
  void RestoreTrayIcon() override;
  void RemoveTrayIcon() override;

 protected:
  const MessageMap* GetMessageMap() const override;
  // The icon's callback (message 1039, the callback message the status window gives to
  // CreateTrayIcon): wParam is the icon id (not looked at), lParam's low 16 bits the mouse
  // message.
  LRESULT OnTrayNotification(WPARAM wParam, LPARAM lParam);

 private:
  NOTIFYICONDATAA m_nid{};
  CMenu m_menu;
};
