#include "monitor/poller.h"

std::uint32_t PollerProc(const PollerParam* param, IMessagePoster& poster, IClock& clock) {
  std::atomic<std::int32_t>* stop = param->pStop;
  const WindowHandle window = param->hwnd;
  while (stop->load() == 0) {
    poster.Post(window, kWmStatusMessage);
    clock.Sleep(kPollerPeriodMs);
  }
  stop->store(0);
  return 0;
}
