// Process-wide state of the status monitor (the g_ values), all zero at program start and held
// in memory only. Everything here is touched on the UI thread only, except g_pollerStop, which
// the poller thread reads and writes too.
#pragma once

#include <atomic>
#include <cstdint>

#include "platform/handles.h"

// The poller's stop flag: non-zero asks the poller to end; the poller sets it back to 0.
extern std::atomic<std::int32_t> g_pollerStop;
// The running poller thread; kNoHandle exactly when no poller has been started since the last
// wait for its end.
extern ThreadHandle g_pPollerThread;
// Set to 1 by the show command; read and cleared by the status evaluation.
extern int g_searching;

// Puts every process-wide value of the monitor (these, the evaluation memory, the port access
// values and g_tipIndex) back to its program-start value. For tests.
void ResetMonitorProcessState();
