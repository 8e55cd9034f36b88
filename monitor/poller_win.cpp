#include "monitor/poller_win.h"

#include <windows.h>

#include "monitor/poller.h"
#include "platform/kernel_win.h"

namespace {

class PostMessagePoster : public IMessagePoster {
 public:
  void Post(WindowHandle window, std::uint32_t message) override {
    ::PostMessageA(reinterpret_cast<HWND>(window), message, 0, 0);
  }
};

}  // namespace

std::uint32_t PollerThreadEntry(void* argument) {
  PostMessagePoster poster;
  Win32Clock clock;
  return PollerProc(static_cast<const PollerParam*>(argument), poster, clock);
}
