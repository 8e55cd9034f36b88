// The program entry: runs the global application object (see app.h).
#include "framework/app.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE /*previous*/, LPSTR commandLine, int show) {
  CWinApp* app = AfxGetApp();
  if (app == nullptr) return 1;
  app->m_hInstance = instance;
  app->m_lpCmdLine = commandLine;
  app->m_nCmdShow = show;
  if (!app->InitInstance()) return app->ExitInstance();
  return app->Run();
}
