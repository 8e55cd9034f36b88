#include "framework/menu.h"

#include "framework/wnd.h"

BOOL CMenu::CreatePopupMenu() {
  DestroyMenu();
  m_hMenu = ::CreatePopupMenu();
  return m_hMenu != nullptr;
}

BOOL CMenu::AppendMenu(UINT flags, UINT_PTR idNewItem, const char* text) {
  return ::AppendMenuA(m_hMenu, flags, idNewItem, text);
}

BOOL CMenu::SetDefaultItem(UINT item, BOOL byPosition) {
  return ::SetMenuDefaultItem(m_hMenu, item, byPosition);
}

BOOL CMenu::TrackPopupMenu(UINT flags, int x, int y, CWnd* owner) {
  return ::TrackPopupMenu(m_hMenu, flags, x, y, 0, owner != nullptr ? owner->m_hWnd : nullptr,
                          nullptr);
}

BOOL CMenu::DestroyMenu() {
  if (m_hMenu == nullptr) return FALSE;
  const BOOL ok = ::DestroyMenu(m_hMenu);
  m_hMenu = nullptr;
  return ok;
}
