// Kernel objects the portable code needs: named mutexes, threads and the clock.
#pragma once

#include <cstdint>
#include <string>

#include "handles.h"

class IMutexes {
 public:
  virtual ~IMutexes() = default;
  // CreateMutexA (no security attributes, not initially owned). *lastError is GetLastError()
  // read at once after the call: 183 (ERROR_ALREADY_EXISTS) when the name existed.
  virtual PlatformHandle CreateNamedMutex(const std::string& name, std::uint32_t* lastError) = 0;
  virtual void CloseHandle(PlatformHandle handle) = 0;
};

using ThreadProc = std::uint32_t (*)(void* argument);

class IThreads {
 public:
  virtual ~IThreads() = default;
  // Starts proc(argument) on a new thread, normal priority, default stack, running at once.
  // Returns kNoHandle when no thread could be started.
  virtual ThreadHandle Start(ThreadProc proc, void* argument) = 0;
  // Waits until the thread has ended.
  virtual void Join(ThreadHandle thread) = 0;
  // Ends the thread at once with exit code 0 (it must hold no lock).
  virtual void Terminate(ThreadHandle thread) = 0;
  // Releases the thread object.
  virtual void Close(ThreadHandle thread) = 0;
};

class IClock {
 public:
  virtual ~IClock() = default;
  virtual void Sleep(std::uint32_t milliseconds) = 0;
};
