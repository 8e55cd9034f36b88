#include "framework/wnd.h"

#include <cstdio>
#include <set>

#include "framework/app.h"
#include "framework/gdi.h"

namespace {

// The window property that links a hooked window to its CWnd.
constexpr const char* kWndProperty = "Framework.CWnd";

}  // namespace

CWnd::~CWnd() {
  if (m_hWnd != nullptr && FromHandlePermanent(m_hWnd) == this) {
    if (m_bOwnsWindow) {
      ::DestroyWindow(m_hWnd);  // ends in Unhook on WM_NCDESTROY
    } else {
      Unhook();
    }
  }
  m_hWnd = nullptr;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  m_hWnd = nullptr;
  return hwnd;
}

CWnd* CWnd::FromHandlePermanent(HWND hwnd) {
  if (hwnd == nullptr) return nullptr;
  return static_cast<CWnd*>(::GetPropA(hwnd, kWndProperty));
}

void CWnd::HookWindow(HWND hwnd, bool subclass) {
  m_hWnd = hwnd;
  ::SetPropA(hwnd, kWndProperty, this);
  if (subclass) {
    m_pfnSuper = reinterpret_cast<WNDPROC>(
        ::SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&StdWndProc)));
  }
}

void CWnd::Unhook() {
  if (m_hWnd != nullptr) {
    ::RemovePropA(m_hWnd, kWndProperty);
    if (m_pfnSuper != nullptr && ::IsWindow(m_hWnd)) {
      ::SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
    }
  }
  m_pfnSuper = nullptr;
  m_bOwnsWindow = false;
  m_hWnd = nullptr;
}

BOOL CWnd::CreateEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu) {
  HWND hwnd = ::CreateWindowExA(exStyle, className, windowName, style, x, y, width, height,
                                parent, menu, AfxGetInstanceHandle(), this);
  if (hwnd == nullptr) return FALSE;
  m_bOwnsWindow = true;
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (m_hWnd == nullptr) return FALSE;
  if (FromHandlePermanent(m_hWnd) != this) {  // only wrapped
    BOOL ok = ::DestroyWindow(m_hWnd);
    m_hWnd = nullptr;
    return ok;
  }
  return ::DestroyWindow(m_hWnd);
}

std::string CWnd::GetWindowText() const {
  const int length = ::GetWindowTextLengthA(m_hWnd);
  std::string text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, '\0');
  const int copied = ::GetWindowTextA(m_hWnd, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

void CWnd::SetFont(CFont* font, BOOL redraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(font ? font->GetSafeHandle() : nullptr),
              MAKELPARAM(redraw, 0));
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper != nullptr) {
    return ::CallWindowProcA(m_pfnSuper, m_hWnd, message, wParam, lParam);
  }
  return ::DefWindowProcA(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  return DefWindowProc(m_current.message, m_current.wParam, m_current.lParam);
}

bool CWnd::Dispatch(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  for (const MessageMap* map = GetMessageMap(); map != nullptr; map = map->base) {
    for (std::size_t i = 0; i < map->count; ++i) {
      const MessageMapEntry& entry = map->entries[i];
      if (entry.registeredMessage != nullptr) {
        if (*entry.registeredMessage == 0 || *entry.registeredMessage != message) continue;
      } else if (entry.message != message) {
        continue;
      }
      if (entry.onCommand != nullptr) {
        const UINT code = HIWORD(wParam);
        if (LOWORD(wParam) != entry.commandId || code > 1) continue;
        (this->*entry.onCommand)();
        *result = 0;
        return true;
      }
      *result = (this->*entry.onMessage)(wParam, lParam);
      return true;
    }
  }
  return false;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (Dispatch(message, wParam, lParam, &result)) return result;
  return DefWindowProc(message, wParam, lParam);
}

LRESULT CALLBACK CWnd::StdWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = FromHandlePermanent(hwnd);
  if (wnd == nullptr && message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
    wnd = static_cast<CWnd*>(create->lpCreateParams);
    if (wnd != nullptr) wnd->HookWindow(hwnd, false);
  }
  if (wnd == nullptr) return ::DefWindowProcA(hwnd, message, wParam, lParam);

  const CurrentMessage saved = wnd->m_current;
  wnd->m_current = {message, wParam, lParam};
  const LRESULT result = wnd->WindowProc(message, wParam, lParam);
  wnd->m_current = saved;
  if (message == WM_NCDESTROY) {
    wnd->Unhook();
    wnd->PostNcDestroy();
  }
  return result;
}

const char* AfxRegisterWndClass(UINT classStyle, HCURSOR cursor, HBRUSH background, HICON icon) {
  static std::set<std::string> names;  // registered classes, never unregistered
  HINSTANCE instance = AfxGetInstanceHandle();
  char name[96];
  std::snprintf(name, sizeof name, "Fw:%p:%x:%p:%p:%p", static_cast<void*>(instance), classStyle,
                static_cast<void*>(cursor), static_cast<void*>(background),
                static_cast<void*>(icon));
  auto found = names.find(name);
  if (found != names.end()) return found->c_str();

  WNDCLASSA wc{};
  wc.style = classStyle;
  wc.lpfnWndProc = &CWnd::StdWndProc;
  wc.hInstance = instance;
  wc.hIcon = icon;
  wc.hCursor = cursor;
  wc.hbrBackground = background;
  wc.lpszClassName = name;
  if (::RegisterClassA(&wc) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }
  return names.insert(name).first->c_str();
}
