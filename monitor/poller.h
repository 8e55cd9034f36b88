// The poller: asks the status window once a second to run one status evaluation.
#pragma once

#include <cstdint>

#include "monitor/status_window.h"
#include "platform/kernel.h"

class IMessagePoster {
 public:
  virtual ~IMessagePoster() = default;
  virtual void Post(WindowHandle window, std::uint32_t message) = 0;  // wParam 0, lParam 0
};

// Posts message 1282 to param->hwnd at once and then every 1000 ms until *param->pStop is
// non-zero; then sets the flag back to 0 and returns 0.
std::uint32_t PollerProc(const PollerParam* param, IMessagePoster& poster, IClock& clock);
