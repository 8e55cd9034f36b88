// CWinApp: the program's one application object.
//
// Contract: the program defines exactly one global object of a class derived from CWinApp. The
// framework's WinMain fills m_hInstance, m_lpCmdLine and m_nCmdShow and calls InitInstance.
// When InitInstance returns false the program ends at once with the result of ExitInstance;
// otherwise Run runs a message loop until WM_QUIT and the program ends with its exit code.
// m_pMainWnd is the program's main window as the program sets it (null when none).
#pragma once

#include <windows.h>

#include <string>

class CWnd;

class CWinApp {
 public:
  CWinApp();
  virtual ~CWinApp();
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  virtual BOOL InitInstance() { return TRUE; }
  virtual int Run();
  virtual int ExitInstance() { return 0; }

  // Names the registry key under which profile settings would be kept. The programs keep no
  // settings, so the name is only stored; nothing is written to the registry.
  void SetRegistryKey(const char* keyName) { m_strRegistryKey = keyName ? keyName : ""; }
  // An icon resource of the program's module at the system's standard icon size.
  HICON LoadIcon(UINT id) const { return ::LoadIconA(m_hInstance, MAKEINTRESOURCEA(id)); }

  HINSTANCE m_hInstance = nullptr;
  LPSTR m_lpCmdLine = nullptr;
  int m_nCmdShow = SW_SHOWNORMAL;
  CWnd* m_pMainWnd = nullptr;
  std::string m_strRegistryKey;
};

CWinApp* AfxGetApp();
HINSTANCE AfxGetInstanceHandle();
CWnd* AfxGetMainWnd();
