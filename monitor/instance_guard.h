// Single instance of the status monitor, and the program's start-up decision.
#pragma once

#include <cstdint>

#include "platform/kernel.h"

// Owns the machine-wide single-instance mutex for as long as the program runs its window.
class CInstanceGuard {
 public:
  // Creates the mutex and records the error code read at once after the creation.
  CInstanceGuard(IMutexes& mutexes, const char* name);
  ~CInstanceGuard() { Close(); }
  CInstanceGuard(const CInstanceGuard&) = delete;
  CInstanceGuard& operator=(const CInstanceGuard&) = delete;

  // True exactly when the mutex existed already (ERROR_ALREADY_EXISTS).
  bool IsAlreadyRunning() const;
  // Closes the mutex handle unless it is already closed (or was never made).
  void Close();

  std::uint32_t m_dwLastError = 0;
  PlatformHandle m_hMutex = kNoHandle;

 private:
  IMutexes& mutexes_;
};

// The steps of start-up that belong to the application framework.
class IMonitorStartup {
 public:
  virtual ~IMonitorStartup() = default;
  virtual void InitCommonControls() = 0;
  virtual void FrameworkInitInstance() = 0;
  virtual void SetRegistryKey(const char* keyName) = 0;
  // Makes the status window the main window and runs it modally until it ends.
  virtual void RunStatusWindow() = 0;
};

constexpr const char* kFrameworkRegistryKey = "Local AppWizard-Generated Applications";

// CStatusMonitorApp::InitInstance: a second monitor of the same model ends at once and silently;
// otherwise the status window runs for the life of the process. Always returns false (the
// framework then ends the program without a message loop of its own).
bool RunMonitorInstance(IMutexes& mutexes, IMonitorStartup& startup);
