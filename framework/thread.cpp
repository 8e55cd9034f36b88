#include "framework/thread.h"

#include <new>

namespace {

struct StartRecord {
  AFX_THREADPROC proc;
  LPVOID param;
};

// The thread procedures of the programs use the C calling convention; CreateThread wants
// WINAPI. The record is freed by the new thread before it runs the procedure.
DWORD WINAPI ThreadEntry(LPVOID argument) {
  StartRecord record = *static_cast<StartRecord*>(argument);
  delete static_cast<StartRecord*>(argument);
  return record.proc(record.param);
}

}  // namespace

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param, int priority, UINT stackSize,
                           DWORD createFlags) {
  auto* record = new (std::nothrow) StartRecord{proc, param};
  auto* thread = new (std::nothrow) CWinThread;
  if (record == nullptr || thread == nullptr) {
    delete record;
    delete thread;
    return nullptr;
  }
  thread->m_hThread =
      ::CreateThread(nullptr, stackSize, &ThreadEntry, record, CREATE_SUSPENDED, &thread->m_nThreadID);
  if (thread->m_hThread == nullptr) {
    delete record;
    delete thread;
    return nullptr;
  }
  ::SetThreadPriority(thread->m_hThread, priority);
  if ((createFlags & CREATE_SUSPENDED) == 0) thread->ResumeThread();
  return thread;
}
