// CWnd: a window handle with message dispatch to member functions.
//
// Contract:
// - A CWnd either wraps a window it does not dispatch for (Attach: controls of a dialog), or is
//   hooked to its window (CreateEx, or CDialog on WM_INITDIALOG): then every message of that
//   window goes to the virtual WindowProc, which looks the message up in the class's message
//   table (most derived first, then its bases) and calls the handler, or does the default
//   processing. A handler may call Default() to run the default processing of the message it
//   is handling.
// - Message tables are plain arrays of MessageMapEntry, made with OnMessage / OnCommand /
//   OnRegisteredMessage, returned by the virtual GetMessageMap() together with the base's map.
//   OnCommand entries match WM_COMMAND with the command id in the low word of wParam and a
//   notification code of 0 (menu, button click) or 1 (accelerator).
// - A window made by CreateEx belongs to its CWnd: the destructor destroys it if it still
//   exists. After WM_NCDESTROY the CWnd is unhooked (m_hWnd null) and PostNcDestroy runs.
// - Everything here runs on the thread that owns the window; nothing is locked.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

class CWnd;
class CFont;

// Registers (once per distinct set of arguments) a window class whose procedure is the
// framework's and returns its name; the name stays valid for the life of the process.
const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor = nullptr,
                                HBRUSH background = nullptr, HICON icon = nullptr);

using AfxMessageHandler = LRESULT (CWnd::*)(WPARAM, LPARAM);
using AfxCommandHandler = void (CWnd::*)();

struct MessageMapEntry {
  UINT message;                   // the window message (WM_COMMAND for command entries)
  UINT commandId;                 // WM_COMMAND entries: the command or control id
  const UINT* registeredMessage;  // registered messages: where the id is kept; else null
  AfxMessageHandler onMessage;    // message entries: LRESULT handler(wParam, lParam)
  AfxCommandHandler onCommand;    // command entries: void handler()
};

struct MessageMap {
  const MessageMap* base;  // searched when no entry here matches; null at the root
  const MessageMapEntry* entries;
  std::size_t count;
};

template <class T>
MessageMapEntry OnMessage(UINT message, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {message, 0, nullptr, static_cast<AfxMessageHandler>(handler), nullptr};
}
template <class T>
MessageMapEntry OnCommand(UINT commandId, void (T::*handler)()) {
  return {WM_COMMAND, commandId, nullptr, nullptr, static_cast<AfxCommandHandler>(handler)};
}
// A message whose id is known only at run time (RegisterWindowMessage), kept in *id.
template <class T>
MessageMapEntry OnRegisteredMessage(const UINT* id, LRESULT (T::*handler)(WPARAM, LPARAM)) {
  return {0, 0, id, static_cast<AfxMessageHandler>(handler), nullptr};
}

class CWnd {
 public:
  CWnd() = default;
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }

  // Wraps a window without dispatching its messages; Detach gives it back.
  void Attach(HWND hwnd) { m_hWnd = hwnd; }
  HWND Detach();

  // The CWnd hooked to a window, or null.
  static CWnd* FromHandlePermanent(HWND hwnd);

  // Creates a window of a class registered with AfxRegisterWndClass (or any class whose
  // window procedure is the framework's) and hooks it to this object.
  BOOL CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                int x, int y, int width, int height, HWND parent, HMENU menu);
  BOOL DestroyWindow();

  // Thin wrappers over the window functions of the same names.
  BOOL ShowWindow(int command) { return ::ShowWindow(m_hWnd, command); }
  BOOL IsIconic() const { return ::IsIconic(m_hWnd); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  void SetWindowText(const char* text) { ::SetWindowTextA(m_hWnd, text); }
  std::string GetWindowText() const;
  void GetClientRect(RECT* rect) const { ::GetClientRect(m_hWnd, rect); }
  HWND GetDlgItem(int id) const { return ::GetDlgItem(m_hWnd, id); }
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  void SetDlgItemText(int id, const char* text) { ::SetDlgItemTextA(m_hWnd, id, text); }
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::SendMessageA(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return ::PostMessageA(m_hWnd, message, wParam, lParam);
  }
  UINT_PTR SetTimer(UINT_PTR id, UINT milliseconds) {
    return ::SetTimer(m_hWnd, id, milliseconds, nullptr);
  }
  BOOL KillTimer(UINT_PTR id) { return ::KillTimer(m_hWnd, id); }
  void SetFont(CFont* font, BOOL redraw = TRUE);
  HICON SetIcon(HICON icon, BOOL bigIcon) {
    return reinterpret_cast<HICON>(SendMessage(WM_SETICON, bigIcon ? ICON_BIG : ICON_SMALL,
                                               reinterpret_cast<LPARAM>(icon)));
  }
  BOOL SetForegroundWindow() { return ::SetForegroundWindow(m_hWnd); }
  void Invalidate(BOOL erase = TRUE) { ::InvalidateRect(m_hWnd, nullptr, erase); }

 protected:
  // Dispatch through the message table; unhandled messages get the default processing.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default processing: the window procedure this one replaced, or DefWindowProc.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // The default processing of the message being handled.
  LRESULT Default();
  virtual const MessageMap* GetMessageMap() const { return nullptr; }
  // Called after the window's last message (WM_NCDESTROY), once unhooked.
  virtual void PostNcDestroy() {}

  // Hooks the window to this object; with subclass, the window procedure is replaced by the
  // framework's and the old one becomes the default processing.
  void HookWindow(HWND hwnd, bool subclass);

  static LRESULT CALLBACK StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

 private:
  friend const char* AfxRegisterWndClass(UINT, HCURSOR, HBRUSH, HICON);
  bool Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  void Unhook();

  WNDPROC m_pfnSuper = nullptr;
  bool m_bOwnsWindow = false;
  struct CurrentMessage {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  } m_current{};
};
