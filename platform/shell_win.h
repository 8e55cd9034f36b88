#pragma once

#include "platform/shell.h"

// IImages over CreateIconFromResource, DestroyCursor and LoadImageA (icon of the program's
// module at the system's default size).
class Win32Images : public IImages {
 public:
  ImageHandle CreateFromResource(const void* bits, std::size_t size, bool isIcon,
                                 std::uint32_t version) override;
  void DestroyCursor(ImageHandle cursor) override;
  ImageHandle LoadIconResource(std::uint32_t id) override;
};

// IShellWindows over FindWindowA, FindWindowExA, GetClientRect and SendMessageA.
class Win32ShellWindows : public IShellWindows {
 public:
  WindowHandle FindTopLevel(const char* className) override;
  WindowHandle FindChild(WindowHandle parent, const char* className) override;
  bool ClientSize(WindowHandle window, int* right, int* bottom) override;
  void Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
            std::intptr_t lParam) override;
};
