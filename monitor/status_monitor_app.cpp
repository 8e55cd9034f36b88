#include "monitor/status_monitor_app.h"

#include <windows.h>
#include <commctrl.h>

#include "monitor/instance_guard.h"
#include "monitor/status_monitor_dlg.h"
#include "platform/kernel_win.h"

namespace {

class Startup : public IMonitorStartup {
 public:
  explicit Startup(CWinApp& app) : app_(app) {}

  void InitCommonControls() override { ::InitCommonControls(); }
  void FrameworkInitInstance() override { app_.CWinApp::InitInstance(); }
  void SetRegistryKey(const char* keyName) override { app_.SetRegistryKey(keyName); }
  void RunStatusWindow() override {
    CStatusMonitorDlg dialog;
    app_.m_pMainWnd = &dialog;
    dialog.DoModal();
    app_.m_pMainWnd = nullptr;
  }

 private:
  CWinApp& app_;
};

}  // namespace

CStatusMonitorApp theApp;

BOOL CStatusMonitorApp::InitInstance() {
  Win32Mutexes mutexes;
  Startup startup(*this);
  return RunMonitorInstance(mutexes, startup) ? TRUE : FALSE;
}
