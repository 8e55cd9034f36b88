// CMenu: owns one menu.
//
// Contract: thin wrappers over the menu functions of the same names. The menu is destroyed with
// the object or by DestroyMenu. TrackPopupMenu shows the menu as a popup owned by `owner` and
// returns when it closes; a chosen item reaches the owner as WM_COMMAND with its id (unless
// TPM_RETURNCMD is given, then the id is returned).
#pragma once

#include <windows.h>

class CWnd;

class CMenu {
 public:
  CMenu() = default;
  ~CMenu() { DestroyMenu(); }
  CMenu(const CMenu&) = delete;
  CMenu& operator=(const CMenu&) = delete;

  BOOL CreatePopupMenu();
  BOOL AppendMenu(UINT flags, UINT_PTR idNewItem, const char* text);
  // Makes an item the default item (drawn in bold): by command id, or by position.
  BOOL SetDefaultItem(UINT item, BOOL byPosition = FALSE);
  BOOL TrackPopupMenu(UINT flags, int x, int y, CWnd* owner);
  BOOL DestroyMenu();
  HMENU GetSafeHmenu() const { return m_hMenu; }

  HMENU m_hMenu = nullptr;
};
