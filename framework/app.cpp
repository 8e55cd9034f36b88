#include "framework/app.h"

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp::CWinApp() { g_pApp = this; }

CWinApp::~CWinApp() {
  if (g_pApp == this) g_pApp = nullptr;
}

int CWinApp::Run() {
  MSG msg;
  BOOL got;
  while ((got = ::GetMessageA(&msg, nullptr, 0, 0)) != 0) {
    if (got == -1) break;
    ::TranslateMessage(&msg);
    ::DispatchMessageA(&msg);
  }
  const int exitCode = ExitInstance();
  return got == 0 ? static_cast<int>(msg.wParam) : exitCode;
}

CWinApp* AfxGetApp() { return g_pApp; }

HINSTANCE AfxGetInstanceHandle() {
  return g_pApp != nullptr && g_pApp->m_hInstance != nullptr ? g_pApp->m_hInstance
                                                             : ::GetModuleHandleA(nullptr);
}

CWnd* AfxGetMainWnd() { return g_pApp != nullptr ? g_pApp->m_pMainWnd : nullptr; }
