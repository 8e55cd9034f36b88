// The poller thread on Win32: PollerProc with PostMessageA as the poster and Sleep as the clock.
#pragma once

#include <cstdint>

// A ThreadProc: `argument` is the status window's PollerParam.
std::uint32_t PollerThreadEntry(void* argument);
