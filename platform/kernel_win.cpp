#include "platform/kernel_win.h"

#include <windows.h>

#include <new>

#include "platform/win32_handles.h"

PlatformHandle Win32Mutexes::CreateNamedMutex(const std::string& name,
                                              std::uint32_t* lastError) {
  HANDLE mutex = ::CreateMutexA(nullptr, FALSE, name.c_str());
  *lastError = ::GetLastError();
  return ToPlatform(mutex);
}

void Win32Mutexes::CloseHandle(PlatformHandle handle) {
  ::CloseHandle(FromPlatform<HANDLE>(handle));
}

namespace {

struct StartRecord {
  ThreadProc proc;
  void* argument;
};

// ThreadProc uses the C calling convention, CreateThread wants WINAPI. The new thread frees
// the record before it runs the procedure.
DWORD WINAPI ThreadEntry(LPVOID record) {
  const StartRecord start = *static_cast<StartRecord*>(record);
  delete static_cast<StartRecord*>(record);
  return start.proc(start.argument);
}

}  // namespace

ThreadHandle Win32Threads::Start(ThreadProc proc, void* argument) {
  auto* record = new (std::nothrow) StartRecord{proc, argument};
  if (record == nullptr) return kNoHandle;
  DWORD id = 0;
  HANDLE thread = ::CreateThread(nullptr, 0, &ThreadEntry, record, 0, &id);
  if (thread == nullptr) {
    delete record;
    return kNoHandle;
  }
  return ToPlatform(thread);
}

void Win32Threads::Join(ThreadHandle thread) {
  ::WaitForSingleObject(FromPlatform<HANDLE>(thread), INFINITE);
}

void Win32Threads::Terminate(ThreadHandle thread) {
  ::TerminateThread(FromPlatform<HANDLE>(thread), 0);
}

void Win32Threads::Close(ThreadHandle thread) { ::CloseHandle(FromPlatform<HANDLE>(thread)); }

void Win32Clock::Sleep(std::uint32_t milliseconds) { ::Sleep(milliseconds); }
