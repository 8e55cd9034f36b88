#include "monitor/instance_guard.h"

#include "common/model_table.h"

CInstanceGuard::CInstanceGuard(IMutexes& mutexes, const char* name) : mutexes_(mutexes) {
  m_hMutex = mutexes_.CreateNamedMutex(name, &m_dwLastError);
}

bool CInstanceGuard::IsAlreadyRunning() const {
  return m_dwLastError == win_error::kAlreadyExists;
}

void CInstanceGuard::Close() {
  if (m_hMutex != kNoHandle) {
    mutexes_.CloseHandle(m_hMutex);
    m_hMutex = kNoHandle;
  }
}

bool RunMonitorInstance(IMutexes& mutexes, IMonitorStartup& startup) {
  CInstanceGuard guard(mutexes, InstanceMutexName[kModelRow]);
  if (guard.IsAlreadyRunning()) {
    guard.Close();
    return false;
  }
  startup.InitCommonControls();
  startup.FrameworkInitInstance();
  startup.SetRegistryKey(kFrameworkRegistryKey);
  startup.RunStatusWindow();
  return false;  // the guard's destructor closes the mutex
}
