#include "platform/shell_win.h"

#include <windows.h>

#include "platform/win32_handles.h"

ImageHandle Win32Images::CreateFromResource(const void* bits, std::size_t size, bool isIcon,
                                            std::uint32_t version) {
  if (bits == nullptr || size == 0) return kNoHandle;
  HICON image = ::CreateIconFromResource(static_cast<PBYTE>(const_cast<void*>(bits)),
                                         static_cast<DWORD>(size), isIcon ? TRUE : FALSE,
                                         version);
  return ToPlatform(image);
}

void Win32Images::DestroyCursor(ImageHandle cursor) {
  ::DestroyCursor(FromPlatform<HCURSOR>(cursor));
}

ImageHandle Win32Images::LoadIconResource(std::uint32_t id) {
  HANDLE icon = ::LoadImageA(::GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, 0, 0,
                             LR_DEFAULTSIZE);
  return ToPlatform(icon);
}

WindowHandle Win32ShellWindows::FindTopLevel(const char* className) {
  return ToPlatform(::FindWindowA(className, nullptr));
}

WindowHandle Win32ShellWindows::FindChild(WindowHandle parent, const char* className) {
  return ToPlatform(::FindWindowExA(FromPlatform<HWND>(parent), nullptr, className, nullptr));
}

bool Win32ShellWindows::ClientSize(WindowHandle window, int* right, int* bottom) {
  RECT rect;
  if (!::GetClientRect(FromPlatform<HWND>(window), &rect)) return false;
  *right = rect.right;
  *bottom = rect.bottom;
  return true;
}

void Win32ShellWindows::Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                             std::intptr_t lParam) {
  ::SendMessageA(FromPlatform<HWND>(window), message, static_cast<WPARAM>(wParam),
                 static_cast<LPARAM>(lParam));
}
