// A small dialog that behaves like the programs under test where wintest and the harness have
// to cope with them: it starts hidden although the dialog manager shows it, is shown by command
// 101, hides on Ok, Escape and the close box, shows a message box on command 103 and reports the
// button pressed, echoes the name of a device-change record, and ends on command 104. The
// harness self-test drives it to prove that every probe can see what it claims to see, the
// message-box finder included (the monitor never shows one, so a broken finder would go
// unnoticed there).
#include <windows.h>
#include <dbt.h>

#include <cstdio>

namespace {

bool g_showAllowed = false;
int g_shows = 0;

INT_PTR CALLBACK DialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_INITDIALOG:
      SetWindowTextA(hwnd, "wintest fixture");
      SetDlgItemTextA(hwnd, 1001, "Caution \x96 \"shown\" 0");
      return TRUE;
    case WM_WINDOWPOSCHANGING:
      if (!g_showAllowed) reinterpret_cast<WINDOWPOS*>(lp)->flags &= ~SWP_SHOWWINDOW;
      return FALSE;
    case WM_DEVICECHANGE: {
      auto* rec = reinterpret_cast<DEV_BROADCAST_HDR*>(lp);
      char text[300];
      if (rec && rec->dbch_devicetype == DBT_DEVTYP_DEVICEINTERFACE)
        std::snprintf(text, sizeof text, "%lu %s", static_cast<unsigned long>(wp),
                      reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(lp)->dbcc_name);
      else
        std::snprintf(text, sizeof text, "%lu", static_cast<unsigned long>(wp));
      SetDlgItemTextA(hwnd, 1002, text);
      SetWindowLongPtrA(hwnd, DWLP_MSGRESULT, TRUE);
      return TRUE;
    }
    case WM_COMMAND:
      switch (LOWORD(wp)) {
        case 101: {
          g_showAllowed = true;
          char text[64];
          std::snprintf(text, sizeof text, "Caution \x96 \"shown\" %d", ++g_shows);
          SetDlgItemTextA(hwnd, 1001, text);
          ShowWindow(hwnd, SW_RESTORE);
          return TRUE;
        }
        case 103: {
          int r = MessageBoxA(hwnd, "Fixture question?", "wintest fixture box", MB_OKCANCEL);
          char text[32];
          std::snprintf(text, sizeof text, "box %d", r);
          SetDlgItemTextA(hwnd, 1002, text);
          return TRUE;
        }
        case 104:
          EndDialog(hwnd, 0);
          return TRUE;
        case IDOK:
        case IDCANCEL:
          ShowWindow(hwnd, SW_HIDE);
          return TRUE;
      }
      break;
  }
  return FALSE;
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  DialogBoxParamA(instance, MAKEINTRESOURCEA(100), nullptr, DialogProc, 0);
  return 0;
}
