// Shell and window-system pieces that are not the status window itself: images from resources,
// the notification icon, and the notification area's windows.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "handles.h"

class IImages {
 public:
  virtual ~IImages() = default;
  // CreateIconFromResource(bits, size, icon flag, version). For a RIFF "ACON" file and
  // isIcon == false the platform returns an animated cursor. kNoHandle on failure.
  virtual ImageHandle CreateFromResource(const void* bits, std::size_t size, bool isIcon,
                                         std::uint32_t version) = 0;
  virtual void DestroyCursor(ImageHandle cursor) = 0;
  // LoadIcon-style load of an icon resource of the program's own module at the system's
  // default icon size. kNoHandle when missing.
  virtual ImageHandle LoadIconResource(std::uint32_t id) = 0;
};

// Finding and poking windows of other programs (the shell's notification area).
class IShellWindows {
 public:
  virtual ~IShellWindows() = default;
  virtual WindowHandle FindTopLevel(const char* className) = 0;
  // The first child of `parent` of the class, whatever its title; kNoHandle when none.
  virtual WindowHandle FindChild(WindowHandle parent, const char* className) = 0;
  // GetClientRect: right and bottom edges. false when it fails.
  virtual bool ClientSize(WindowHandle window, int* right, int* bottom) = 0;
  // SendMessageA, waiting until it is handled.
  virtual void Send(WindowHandle window, std::uint32_t message, std::uintptr_t wParam,
                    std::intptr_t lParam) = 0;
};
