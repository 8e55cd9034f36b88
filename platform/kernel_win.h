#pragma once

#include "platform/kernel.h"

// IMutexes over CreateMutexA / GetLastError / CloseHandle.
class Win32Mutexes : public IMutexes {
 public:
  PlatformHandle CreateNamedMutex(const std::string& name, std::uint32_t* lastError) override;
  void CloseHandle(PlatformHandle handle) override;
};

// IThreads over CreateThread, WaitForSingleObject, TerminateThread and CloseHandle.
class Win32Threads : public IThreads {
 public:
  ThreadHandle Start(ThreadProc proc, void* argument) override;
  void Join(ThreadHandle thread) override;
  void Terminate(ThreadHandle thread) override;
  void Close(ThreadHandle thread) override;
};

// IClock over Sleep.
class Win32Clock : public IClock {
 public:
  void Sleep(std::uint32_t milliseconds) override;
};
