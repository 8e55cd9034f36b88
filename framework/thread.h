// Worker threads.
//
// Contract: AfxBeginThread starts proc(param) on a new thread (CreateThread) with the given
// priority and stack size (0: the default), running at once unless CREATE_SUSPENDED is given.
// It returns a new CWinThread, or null when no thread could be started. The caller owns the
// object; deleting it closes the thread handle, it does not stop the thread.
#pragma once

#include <windows.h>

using AFX_THREADPROC = UINT (*)(LPVOID);

class CWinThread {
 public:
  CWinThread() = default;
  ~CWinThread() {
    if (m_hThread != nullptr) ::CloseHandle(m_hThread);
  }
  CWinThread(const CWinThread&) = delete;
  CWinThread& operator=(const CWinThread&) = delete;

  DWORD ResumeThread() { return ::ResumeThread(m_hThread); }

  HANDLE m_hThread = nullptr;
  DWORD m_nThreadID = 0;
};

CWinThread* AfxBeginThread(AFX_THREADPROC proc, LPVOID param,
                           int priority = THREAD_PRIORITY_NORMAL, UINT stackSize = 0,
                           DWORD createFlags = 0);
