// Checks of the framework's contracts (see the headers in framework/) on a real window system.
// Each check prints a line only when it fails; the last line counts them, and the exit code is
// the number of failures.
#include <cstdio>
#include <string>

#include "framework/framework.h"

namespace {

int g_checks = 0;
int g_failures = 0;

void Check(bool ok, const char* what) {
  ++g_checks;
  if (!ok) {
    ++g_failures;
    std::printf("FAILED: %s\n", what);
  }
}

constexpr UINT kIdDialog = 100;
constexpr int kIdEdit = 101;
constexpr int kIdLabel = 102;

// --- message tables ---

const UINT g_registered = ::RegisterWindowMessageA("FrameworkCheck.Registered");

class CBaseWnd : public CWnd {
 public:
  int postNcDestroyCalls = 0;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMapEntry entries[] = {
        OnMessage(WM_USER + 1, &CBaseWnd::OnFirst),
        OnMessage(WM_USER + 2, &CBaseWnd::OnSecond),
    };
    static const MessageMap map{nullptr, entries, 2};
    return &map;
  }
  LRESULT OnFirst(WPARAM, LPARAM) { return 1; }
  LRESULT OnSecond(WPARAM, LPARAM) { return 2; }
  void PostNcDestroy() override { ++postNcDestroyCalls; }
};

class CDerivedWnd : public CBaseWnd {
 public:
  int commands = 0;
  int registeredCalls = 0;

 protected:
  const MessageMap* GetMessageMap() const override {
    static const MessageMapEntry entries[] = {
        OnMessage(WM_USER + 1, &CDerivedWnd::OnFirstAgain),
        OnCommand(10, &CDerivedWnd::OnTen),
        OnRegisteredMessage(&g_registered, &CDerivedWnd::OnRegistered),
        OnMessage(WM_SETTEXT, &CDerivedWnd::OnSetText),
    };
    static const MessageMap map{CBaseWnd::GetMessageMap(), entries, 4};
    return &map;
  }
  LRESULT OnFirstAgain(WPARAM, LPARAM) { return 11; }
  void OnTen() { ++commands; }
  LRESULT OnRegistered(WPARAM wParam, LPARAM) { return static_cast<LRESULT>(wParam) + 100; }
  // A nested message before the default processing: Default() must still see WM_SETTEXT.
  LRESULT OnSetText(WPARAM, LPARAM) {
    SendMessage(WM_USER + 2);
    return Default();
  }
};

void CheckMessageTables() {
  HWND hwnd = nullptr;
  {
    CDerivedWnd wnd;
    Check(wnd.CreateEx(0, AfxRegisterWndClass(0), "start", WS_POPUP, 0, 0, 10, 10, nullptr,
                       nullptr) != FALSE,
          "CreateEx makes the window");
    hwnd = wnd.m_hWnd;
    Check(CWnd::FromHandlePermanent(hwnd) == &wnd, "CreateEx hooks the window to its object");
    Check(wnd.SendMessage(WM_USER + 1) == 11, "the derived entry wins over the base's");
    Check(wnd.SendMessage(WM_USER + 2) == 2, "an entry of the base table is found");
    Check(wnd.SendMessage(WM_USER + 3) == 0, "an unlisted message gets the default processing");

    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(10, 0), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(10, 1), 0);
    Check(wnd.commands == 2, "a command entry takes menu/button and accelerator commands");
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(10, EN_CHANGE), 0);
    wnd.SendMessage(WM_COMMAND, MAKEWPARAM(11, 0), 0);
    Check(wnd.commands == 2, "a command entry ignores other ids and notification codes");

    Check(wnd.SendMessage(g_registered, 5) == 105, "a registered message reaches its entry");

    wnd.SetWindowText("changed");
    Check(wnd.GetWindowText() == "changed", "Default() runs the message being handled");
    Check(wnd.postNcDestroyCalls == 0, "no PostNcDestroy while the window lives");
    ::DestroyWindow(hwnd);
    Check(wnd.m_hWnd == nullptr && wnd.postNcDestroyCalls == 1,
          "WM_NCDESTROY unhooks the object and runs PostNcDestroy once");
  }
  {
    CBaseWnd owner;
    owner.CreateEx(0, AfxRegisterWndClass(0), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr);
    hwnd = owner.m_hWnd;
  }
  Check(!::IsWindow(hwnd), "a window made by CreateEx goes with its object");
  Check(std::string(AfxRegisterWndClass(0)) == AfxRegisterWndClass(0) &&
            std::string(AfxRegisterWndClass(0)) != AfxRegisterWndClass(CS_DBLCLKS),
        "one class per set of arguments");
}

// --- dialogs ---

class CCheckDialog : public CDialog {
 public:
  enum class Ending { kOkButton, kClose, kEscape };
  explicit CCheckDialog(Ending ending) : CDialog(kIdDialog), ending_(ending) {}

  std::string text = "hello";
  CStatic label;
  bool initialised = false;
  bool labelBound = false;
  bool editShowedText = false;
  bool defaultBrush = false;
  bool stayedHidden = false;
  int cancels = 0;

 protected:
  const MessageMap* GetMessageMap() const override {
    using D = CCheckDialog;
    static const MessageMapEntry entries[] = {
        OnMessage(WM_TIMER, &D::OnTimer),
        OnMessage(WM_CTLCOLORSTATIC, &D::OnCtlColorStatic),
        OnMessage(WM_WINDOWPOSCHANGING, &D::OnWindowPosChanging),
    };
    static const MessageMap map{CDialog::GetMessageMap(), entries, 3};
    return &map;
  }
  void DoDataExchange(CDataExchange* dx) override {
    DDX_Text(dx, kIdEdit, text);
    DDX_Control(dx, kIdLabel, label);
  }
  BOOL OnInitDialog() override {
    CDialog::OnInitDialog();
    initialised = true;
    labelBound = label.m_hWnd == GetDlgItem(kIdLabel) && label.m_hWnd != nullptr;
    char shown[32] = "";
    ::GetDlgItemTextA(m_hWnd, kIdEdit, shown, sizeof shown);
    editShowedText = std::string(shown) == "hello";
    SetTimer(1, 300);
    return TRUE;
  }
  void OnCancel() override {
    ++cancels;
    CDialog::OnCancel();
  }
  // The dialog manager's show after WM_INITDIALOG is refused, as the status window does.
  LRESULT OnWindowPosChanging(WPARAM, LPARAM lParam) {
    reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~SWP_SHOWWINDOW;
    return Default();
  }
  LRESULT OnCtlColorStatic(WPARAM, LPARAM) {
    const LRESULT brush = Default();
    if (brush != 0) defaultBrush = true;
    return brush;
  }
  LRESULT OnTimer(WPARAM, LPARAM) {
    KillTimer(1);
    stayedHidden = !IsWindowVisible();
    // What the static sends when it draws (a hidden dialog draws nothing by itself).
    HDC dc = ::GetDC(label.m_hWnd);
    SendMessage(WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                reinterpret_cast<LPARAM>(label.m_hWnd));
    ::ReleaseDC(label.m_hWnd, dc);
    switch (ending_) {
      case Ending::kOkButton:
        SetDlgItemText(kIdEdit, "typed");
        PostMessage(WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        break;
      case Ending::kClose:
        PostMessage(WM_CLOSE);
        break;
      case Ending::kEscape:
        PostMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        break;
    }
    return 0;
  }

 private:
  Ending ending_;
};

void CheckDialogs() {
  {
    CCheckDialog dialog(CCheckDialog::Ending::kOkButton);
    const INT_PTR result = dialog.DoModal();
    Check(result == IDOK, "IDOK ends a modal dialog with IDOK");
    Check(dialog.initialised, "OnInitDialog runs");
    Check(dialog.editShowedText, "DDX_Text shows the member in its control");
    Check(dialog.labelBound, "DDX_Control attaches the control");
    Check(dialog.text == "typed", "OnOK saves the controls into the members");
    Check(dialog.stayedHidden, "a dialog that refuses SWP_SHOWWINDOW stays hidden");
    Check(dialog.m_hWnd == nullptr, "the object is unhooked when the dialog has ended");
  }
  {
    CCheckDialog dialog(CCheckDialog::Ending::kClose);
    Check(dialog.DoModal() == IDCANCEL && dialog.cancels == 1,
          "WM_CLOSE reaches OnCancel through the dialog manager");
  }
  {
    CCheckDialog dialog(CCheckDialog::Ending::kEscape);
    Check(dialog.DoModal() == IDCANCEL && dialog.cancels == 1, "IDCANCEL reaches OnCancel");
    Check(dialog.defaultBrush, "Default() of WM_CTLCOLORSTATIC gives the dialog's brush");
  }
}

// --- fonts, menus, threads ---

void CheckFontAndMenu() {
  CFont font;
  Check(font.CreatePointFont(140, "Arial") != FALSE, "CreatePointFont makes a font");
  LOGFONTA made{};
  ::GetObjectA(font.GetSafeHandle(), sizeof made, &made);
  HDC screen = ::GetDC(nullptr);
  const int pixels = ::MulDiv(::GetDeviceCaps(screen, LOGPIXELSY), 140, 720);
  ::ReleaseDC(nullptr, screen);
  Check(made.lfHeight == -pixels && std::string(made.lfFaceName) == "Arial",
        "a point size in tenths becomes the negative character height at the screen's DPI");

  CMenu menu;
  Check(menu.CreatePopupMenu() != FALSE, "CreatePopupMenu");
  menu.AppendMenu(MF_STRING, 101, "first");
  menu.AppendMenu(MF_STRING, 104, "second");
  Check(::GetMenuItemCount(menu.m_hMenu) == 2, "AppendMenu adds items in order");
  menu.SetDefaultItem(104, FALSE);
  Check(::GetMenuDefaultItem(menu.m_hMenu, FALSE, 0) == 104, "SetDefaultItem by command");
  menu.SetDefaultItem(0, TRUE);
  Check(::GetMenuDefaultItem(menu.m_hMenu, FALSE, 0) == 101, "SetDefaultItem by position");
  HMENU handle = menu.m_hMenu;
  menu.DestroyMenu();
  Check(!::IsMenu(handle) && menu.m_hMenu == nullptr, "DestroyMenu");
}

UINT ThreadProcedure(LPVOID param) {
  *static_cast<int*>(param) += 1;
  return 42;
}

void CheckThreads() {
  int counter = 0;
  CWinThread* thread = AfxBeginThread(&ThreadProcedure, &counter);
  Check(thread != nullptr, "AfxBeginThread starts a thread");
  if (thread == nullptr) return;
  Check(::WaitForSingleObject(thread->m_hThread, 5000) == WAIT_OBJECT_0, "the thread ends");
  DWORD code = 0;
  ::GetExitCodeThread(thread->m_hThread, &code);
  Check(code == 42 && counter == 1, "the procedure runs once with its parameter");
  delete thread;

  CWinThread* suspended =
      AfxBeginThread(&ThreadProcedure, &counter, THREAD_PRIORITY_NORMAL, 0, CREATE_SUSPENDED);
  Check(suspended != nullptr &&
            ::WaitForSingleObject(suspended->m_hThread, 200) == WAIT_TIMEOUT && counter == 1,
        "CREATE_SUSPENDED keeps the thread from running");
  if (suspended == nullptr) return;
  suspended->ResumeThread();
  Check(::WaitForSingleObject(suspended->m_hThread, 5000) == WAIT_OBJECT_0 && counter == 2,
        "ResumeThread lets it run");
  delete suspended;
}

class CCheckApp : public CWinApp {
 public:
  BOOL InitInstance() override {
    Check(AfxGetApp() == this && m_hInstance == ::GetModuleHandleA(nullptr),
          "WinMain runs the application object with the module's instance");
    CheckMessageTables();
    CheckDialogs();
    CheckFontAndMenu();
    CheckThreads();
    return FALSE;  // WinMain must end the program with ExitInstance's result
  }
  int ExitInstance() override {
    std::printf("framework_check: %d checks, %d failed\n", g_checks, g_failures);
    std::fflush(stdout);
    return g_failures;
  }
};

CCheckApp theApp;

}  // namespace
