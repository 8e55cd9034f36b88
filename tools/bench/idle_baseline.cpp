// Idle baseline for the status monitor's idle benchmark.
//
// The cheapest program that idles the way the monitor does: one application object whose
// InitInstance runs a modal dialog of the framework for the life of the process, kept hidden
// (SWP_SHOWWINDOW cleared in WM_WINDOWPOSCHANGING), with the same two wakeups a second:
//   - a worker thread that posts WM_USER + 258 to the dialog, then sleeps 1000 ms, until told
//     to stop;
//   - window timer 1, 1000 ms.
// Neither wakeup does any work. Command 104 (posted WM_COMMAND) stops the thread and ends the
// dialog, like the monitor's Exit.
#include <windows.h>

#include "framework/framework.h"
#include "tools/bench/idle_baseline_res.h"

namespace {

constexpr UINT kWmTick = WM_USER + 258;
constexpr UINT_PTR kTimerId = 1;
constexpr UINT kPeriodMs = 1000;
constexpr UINT kCmdExit = 104;

struct TickerParam {
  HWND hwnd;
  volatile LONG stop;
};

UINT TickerProc(LPVOID argument) {
  auto* param = static_cast<TickerParam*>(argument);
  while (::InterlockedCompareExchange(&param->stop, 0, 0) == 0) {
    ::PostMessageA(param->hwnd, kWmTick, 0, 0);
    ::Sleep(kPeriodMs);
  }
  return 0;
}

class CIdleBaselineDlg : public CDialog {
 public:
  CIdleBaselineDlg() : CDialog(IDD_IDLE_BASELINE) {}

 protected:
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    m_param.hwnd = m_hWnd;
    m_param.stop = 0;
    m_pTicker = AfxBeginThread(&TickerProc, &m_param);
    SetTimer(kTimerId, kPeriodMs);
    return TRUE;
  }
  void OnOK() override {}      // hidden all the time: nothing to close
  void OnCancel() override {}

  const MessageMap* GetMessageMap() const override {
    using D = CIdleBaselineDlg;
    static const MessageMapEntry entries[] = {
        OnMessage(kWmTick, &D::OnTick),
        OnMessage(WM_TIMER, &D::OnTimer),
        OnMessage(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
        OnCommand(kCmdExit, &D::OnExit),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries,
                                sizeof entries / sizeof entries[0]};
    return &map;
  }

  LRESULT OnTick(WPARAM, LPARAM) { return 0; }
  LRESULT OnTimer(WPARAM, LPARAM) { return Default(); }
  LRESULT OnWindowPosChanging(WPARAM, LPARAM windowPos) {
    reinterpret_cast<WINDOWPOS*>(windowPos)->flags &= ~SWP_SHOWWINDOW;
    return Default();
  }
  void OnExit() {
    KillTimer(kTimerId);
    if (m_pTicker != nullptr) {
      ::InterlockedExchange(&m_param.stop, 1);
      ::WaitForSingleObject(m_pTicker->m_hThread, INFINITE);
      delete m_pTicker;
      m_pTicker = nullptr;
    }
    EndDialog(IDOK);
  }

 private:
  TickerParam m_param{};
  CWinThread* m_pTicker = nullptr;
};

class CIdleBaselineApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    CIdleBaselineDlg dialog;
    m_pMainWnd = &dialog;
    dialog.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
  }
};

CIdleBaselineApp theApp;

}  // namespace
