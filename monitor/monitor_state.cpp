#include "monitor/monitor_state.h"

#include "common/printing_tips.h"
#include "monitor/port_access.h"
#include "monitor/status_evaluation.h"

std::atomic<std::int32_t> g_pollerStop{0};
ThreadHandle g_pPollerThread = kNoHandle;
int g_searching = 0;

void ResetMonitorProcessState() {
  g_pollerStop = 0;
  g_pPollerThread = kNoHandle;
  g_searching = 0;
  g_tipIndex = 0;
  g_displayedState = 0;
  g_searchCount = 0;
  g_autoHideArmed = 0;
  g_autoHideCount = 0;
  g_faultCountPrinting = 0;
  g_faultCountIdle = 0;
  g_faultCountJob = 0;
  g_portAccessMode = 0;
  g_hPortDriver = kNoHandle;
  LptLabel.clear();
  LptStatusPort = 0;
}
