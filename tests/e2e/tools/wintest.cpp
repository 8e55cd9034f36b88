// wintest: drives and inspects the windows of another process for the end-to-end tests.
//
//   wintest [-t MS] SUBCOMMAND ARGS...
//
// A window is named by its exact caption (a top-level window). Texts go in and out in one
// ASCII form of the ANSI code page's bytes: printable ASCII as is, "\\" for a backslash, "\n",
// "\r", "\t", and "\xHH" for every other byte (so the en dash of code page 1252 is "\x96").
//
// Exit codes: 0 yes / done, 1 no (a query whose answer is negative), 2 time limit reached,
// 3 usage error, 4 window (or message box, control) not found, 5 a call failed.
//
// Subcommands:
//   find CAPTION                  print the handle of the top-level window with that caption
//   count CAPTION                 print how many top-level windows have that caption
//   visible CAPTION               0 when the window is visible, 1 when hidden
//   taskbar CAPTION               0 when the shell's taskbar shows a button for the window,
//                                 1 when the shell knows the window and shows no button for it,
//                                 4 when the shell has no button for it (or there is no taskbar)
//   text CAPTION ID               print the text of control ID (ID 0: the caption itself)
//   pid CAPTION                   print the id of the process that owns the window
//   hit CAPTION CODE              print "X Y", the screen point at the middle of the part of
//                                 the window's frame that answers WM_NCHITTEST with CODE
//                                 (20: the close box), for a real mouse click there
//   command CAPTION ID            post WM_COMMAND with command ID
//   post CAPTION MSG WPARAM LPARAM  post a message (numbers decimal or 0x hexadecimal)
//   click CAPTION ID              post BM_CLICK to control ID
//   paint CAPTION                 have the window and its controls repaint now (before a
//                                 screenshot)
//   key CAPTION VK                post WM_KEYDOWN/WM_KEYUP of a virtual key to the window of
//                                 that window's thread that has the keyboard focus
//   devchange CAPTION EVENT NAME  send WM_DEVICECHANGE (EVENT: arrival, removal or a number)
//                                 with a DEV_BROADCAST_DEVICEINTERFACE_A record holding NAME
//                                 and the USB device interface class
//   msgbox                        print the text of the visible message box (a #32770 window
//                                 with a static control 0xFFFF); 4 when there is none
//   msgbox-caption                print the caption of that message box
//   msgbox-press ID               post BM_CLICK to button ID (1 OK, 2 Cancel, 6 Yes, 7 No, ...)
//   wait COND ...                 poll every 10 ms until COND holds, 2 at the time limit
//                                 (-t MS, default 10000):
//                                   exists CAPTION | visible CAPTION | hidden CAPTION |
//                                   gone CAPTION | taskbar CAPTION | no-taskbar CAPTION |
//                                   taskbar-known CAPTION (the shell has a button, shown or not) |
//                                   text CAPTION ID TEXT | msgbox | process-gone PID |
//                                   menu | no-menu
//   acp                           print the ANSI code page
//   add-printer QUEUE PORT        add a printer driver (placeholder files) and the queue QUEUE
//                                 on PORT, data type RAW, to the spooler
//   timeline CAPTION PROBE UNTIL [N]  poll every 10 ms and print "TICK VALUE" (GetTickCount, the
//                                 escaped value) for the value at the start and after each
//                                 change, until the value has become UNTIL for the Nth time
//                                 (default 1; the value at the start counts); 2 at the time limit.
//                                 PROBE is a control id (its text) or "visible" (visible/hidden);
//                                 the value is empty while there is no such window, so a
//                                 timeline may start before the program does
//   rect CAPTION ID               print "X Y W H", the screen rectangle of control ID
//   menu                          0 when a popup menu (a visible #32768 window) is open, 1 not
//   menu-key VK...                post WM_KEYDOWN/WM_KEYUP of each virtual key to that menu
//   windows [CLASS]               list top-level windows (handle, class, visible, pid, caption)
//   children CLASS                list the children of the first top-level window of CLASS
#include <windows.h>
#include <dbt.h>
#include <winspool.h>

#include <climits>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <string>
#include <vector>

#include "tests/e2e/tools/test_queue.h"

namespace {

enum Exit { kYes = 0, kNo = 1, kTimeout = 2, kUsage = 3, kNotFound = 4, kFailed = 5 };

int Usage(const char* why) {
  std::fprintf(stderr, "wintest: %s\n", why);
  return kUsage;
}

bool ParseNumber(const char* s, unsigned long long* out) {
  if (!s || !*s) return false;
  char* end = nullptr;
  *out = std::strtoull(s, &end, 0);
  return end && *end == '\0';
}

// Escaped ASCII <-> raw ANSI bytes.
std::string Escape(const std::string& raw) {
  std::string out;
  for (unsigned char c : raw) {
    if (c == '\\') out += "\\\\";
    else if (c == '\n') out += "\\n";
    else if (c == '\r') out += "\\r";
    else if (c == '\t') out += "\\t";
    else if (c >= 0x20 && c < 0x7F) out += static_cast<char>(c);
    else {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\x%02X", c);
      out += buf;
    }
  }
  return out;
}

bool Unescape(const char* s, std::string* out) {
  out->clear();
  for (; *s; ++s) {
    if (*s != '\\') {
      *out += *s;
      continue;
    }
    ++s;
    switch (*s) {
      case '\\': *out += '\\'; break;
      case 'n': *out += '\n'; break;
      case 'r': *out += '\r'; break;
      case 't': *out += '\t'; break;
      case 'x': {
        auto hex = [](char c) -> int {
          if (c >= '0' && c <= '9') return c - '0';
          if (c >= 'a' && c <= 'f') return c - 'a' + 10;
          if (c >= 'A' && c <= 'F') return c - 'A' + 10;
          return -1;
        };
        int hi = hex(s[1]), lo = hi < 0 ? -1 : hex(s[2]);
        if (lo < 0) return false;
        *out += static_cast<char>(hi * 16 + lo);
        s += 2;
        break;
      }
      default: return false;
    }
  }
  return true;
}

std::string WindowText(HWND hwnd) {
  // WM_GETTEXT is marshalled to the owning process; the limit keeps a hung target from
  // hanging the test.
  char buf[4096] = {};
  DWORD_PTR copied = 0;
  if (!SendMessageTimeoutA(hwnd, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf),
                           SMTO_ABORTIFHUNG, 5000, &copied))
    return std::string();
  return std::string(buf, std::strlen(buf));
}

std::string ClassName(HWND hwnd) {
  char buf[256] = {};
  GetClassNameA(hwnd, buf, sizeof buf);
  return buf;
}

// Top-level windows whose caption is exactly `caption`, hidden ones included. Captions are
// read with GetWindowTextA, which for another process's window reads the stored title without
// sending a message.
struct CaptionSearch {
  const std::string* caption;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectByCaption(HWND hwnd, LPARAM lp) {
  auto* s = reinterpret_cast<CaptionSearch*>(lp);
  char buf[1024] = {};
  int n = GetWindowTextA(hwnd, buf, sizeof buf);
  if (n >= 0 && *s->caption == std::string(buf, n)) s->found.push_back(hwnd);
  return TRUE;
}

std::vector<HWND> WindowsWithCaption(const std::string& caption) {
  CaptionSearch search{&caption, {}};
  EnumWindows(CollectByCaption, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindByCaption(const std::string& caption) {
  auto found = WindowsWithCaption(caption);
  return found.empty() ? nullptr : found.front();
}

// The shell's task button for a top-level window. Wine's taskbar (explorer with the shell enabled
// on its virtual desktop) keeps one Button child of Shell_TrayWnd per top-level window of other
// processes, with the window's handle as its control id, and shows it while the shell gives the
// window a button. Returns null when the shell has no button for the window (or no taskbar).
HWND TaskButton(HWND hwnd) {
  HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
  if (!tray) return nullptr;
  for (HWND child = FindWindowExA(tray, nullptr, "Button", nullptr); child;
       child = FindWindowExA(tray, child, "Button", nullptr)) {
    if (static_cast<UINT_PTR>(GetWindowLongPtrA(child, GWLP_ID)) ==
        reinterpret_cast<UINT_PTR>(hwnd))
      return child;
  }
  return nullptr;
}

// 0: the window's task button is shown; 1: the shell knows the window but shows no button;
// 4: the shell has no button for it at all.
int TaskbarState(HWND hwnd) {
  HWND button = TaskButton(hwnd);
  if (!button) return 4;
  return IsWindowVisible(button) ? 0 : 1;
}

// A message box: a visible top-level #32770 window with a static control 0xFFFF.
BOOL CALLBACK StopAtMessageBox(HWND hwnd, LPARAM lp) {
  if (!IsWindowVisible(hwnd) || ClassName(hwnd) != "#32770") return TRUE;
  HWND text = GetDlgItem(hwnd, 0xFFFF);
  if (!text || ClassName(text) != "Static") return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

HWND FindMessageBox() {
  HWND box = nullptr;
  EnumWindows(StopAtMessageBox, reinterpret_cast<LPARAM>(&box));
  return box;
}

// A popup menu of TrackPopupMenu: a visible top-level window of the class #32768.
BOOL CALLBACK StopAtPopupMenu(HWND hwnd, LPARAM lp) {
  if (!IsWindowVisible(hwnd) || ClassName(hwnd) != "#32768") return TRUE;
  *reinterpret_cast<HWND*>(lp) = hwnd;
  return FALSE;
}

HWND FindPopupMenu() {
  HWND menu = nullptr;
  EnumWindows(StopAtPopupMenu, reinterpret_cast<LPARAM>(&menu));
  return menu;
}

int AddQueue(const char* queue, const char* port) {
  const std::string error = AddTestQueue(queue, port, "wintest printer driver");
  if (!error.empty()) {
    std::fprintf(stderr, "wintest: %s\n", error.c_str());
    return kFailed;
  }
  return kYes;
}

void PostKey(HWND target, UINT vk) {
  UINT scan = MapVirtualKeyA(vk, 0 /* MAPVK_VK_TO_VSC */);
  LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
  LPARAM up = down | (1L << 30) | (1L << 31);
  PostMessageA(target, WM_KEYDOWN, vk, down);
  PostMessageA(target, WM_KEYUP, vk, up);
}

bool ProcessGone(DWORD pid) {
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return true;
  DWORD r = WaitForSingleObject(h, 0);
  CloseHandle(h);
  return r == WAIT_OBJECT_0;
}

void DescribeWindow(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char caption[512] = {};
  GetWindowTextA(hwnd, caption, sizeof caption);
  RECT r = {};
  GetWindowRect(hwnd, &r);
  std::printf("0x%08lX id=%ld %s %s pid=%lu (%ld,%ld %ldx%ld) \"%s\"\n",
              static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)),
              static_cast<long>(GetWindowLongPtrA(hwnd, GWLP_ID)), ClassName(hwnd).c_str(),
              IsWindowVisible(hwnd) ? "visible" : "hidden", static_cast<unsigned long>(pid),
              r.left, r.top, r.right - r.left, r.bottom - r.top, Escape(caption).c_str());
}

BOOL CALLBACK DescribeIfClass(HWND hwnd, LPARAM lp) {
  auto* cls = reinterpret_cast<const char*>(lp);
  if (!cls || ClassName(hwnd) == cls) DescribeWindow(hwnd);
  return TRUE;
}

void PrintLine(const std::string& s) {
  std::fwrite(s.data(), 1, s.size(), stdout);
  std::fputc('\n', stdout);
}

struct Args {
  int argc;
  char** argv;
  int at;
  const char* Next() { return at < argc ? argv[at++] : nullptr; }
  bool Done() const { return at >= argc; }
};

// A condition of "wait": returns kYes, kNo or an error code that ends the wait at once.
struct Condition {
  std::string kind, caption, text;
  int id = 0;
  DWORD pid = 0;

  int Check() const {
    if (kind == "msgbox") return FindMessageBox() ? kYes : kNo;
    if (kind == "menu") return FindPopupMenu() ? kYes : kNo;
    if (kind == "no-menu") return FindPopupMenu() ? kNo : kYes;
    if (kind == "process-gone") return ProcessGone(pid) ? kYes : kNo;
    HWND hwnd = FindByCaption(caption);
    if (kind == "gone") return hwnd ? kNo : kYes;
    if (!hwnd) return kNo;
    if (kind == "exists") return kYes;
    if (kind == "visible") return IsWindowVisible(hwnd) ? kYes : kNo;
    if (kind == "hidden") return IsWindowVisible(hwnd) ? kNo : kYes;
    if (kind == "taskbar") return TaskbarState(hwnd) == 0 ? kYes : kNo;
    if (kind == "no-taskbar") return TaskbarState(hwnd) == 0 ? kNo : kYes;
    if (kind == "taskbar-known") return TaskbarState(hwnd) == 4 ? kNo : kYes;
    if (kind == "text") {
      HWND control = id == 0 ? hwnd : GetDlgItem(hwnd, id);
      return control && WindowText(control) == text ? kYes : kNo;
    }
    return kUsage;
  }
};

int Wait(Args& a, DWORD timeoutMs) {
  Condition c;
  const char* kind = a.Next();
  if (!kind) return Usage("wait: condition missing");
  c.kind = kind;
  if (c.kind == "exists" || c.kind == "visible" || c.kind == "hidden" || c.kind == "gone" ||
      c.kind == "taskbar" || c.kind == "no-taskbar" || c.kind == "taskbar-known" ||
      c.kind == "text") {
    const char* caption = a.Next();
    if (!caption) return Usage("wait: caption missing");
    c.caption = caption;
    if (c.kind == "text") {
      unsigned long long id;
      const char* text = nullptr;
      if (!ParseNumber(a.Next(), &id) || !(text = a.Next())) return Usage("wait text: ID TEXT");
      if (!Unescape(text, &c.text)) return Usage("wait text: bad escape in TEXT");
      c.id = static_cast<int>(id);
    }
  } else if (c.kind == "process-gone") {
    unsigned long long pid;
    if (!ParseNumber(a.Next(), &pid)) return Usage("wait process-gone: PID");
    c.pid = static_cast<DWORD>(pid);
  } else if (c.kind != "msgbox" && c.kind != "menu" && c.kind != "no-menu") {
    return Usage("wait: unknown condition");
  }
  if (!a.Done()) return Usage("wait: too many arguments");

  DWORD start = GetTickCount();
  for (;;) {
    int r = c.Check();
    if (r != kNo) return r;
    if (GetTickCount() - start >= timeoutMs) {
      std::fprintf(stderr, "wintest: wait %s: time limit of %lu ms reached\n", kind,
                   static_cast<unsigned long>(timeoutMs));
      return kTimeout;
    }
    Sleep(10);
  }
}

// The value a timeline follows; empty when the window is gone.
std::string ProbeValue(const std::string& caption, bool visibility, int id) {
  HWND hwnd = FindByCaption(caption);
  if (!hwnd) return std::string();
  if (visibility) return IsWindowVisible(hwnd) ? "visible" : "hidden";
  HWND control = id == 0 ? hwnd : GetDlgItem(hwnd, id);
  return control ? Escape(WindowText(control)) : std::string();
}

int Timeline(Args& a, DWORD timeoutMs) {
  const char* caption = a.Next();
  const char* probe = a.Next();
  const char* untilArg = a.Next();
  unsigned long long id = 0, nth = 1;
  std::string until;
  if (!caption || !probe || !untilArg) return Usage("timeline: CAPTION PROBE UNTIL [N]");
  if (!Unescape(untilArg, &until)) return Usage("timeline: bad escape in UNTIL");
  until = Escape(until);
  if (!a.Done() && (!ParseNumber(a.Next(), &nth) || nth == 0 || !a.Done()))
    return Usage("timeline: N is a count from 1");
  const bool visibility = std::strcmp(probe, "visible") == 0;
  if (!visibility && !ParseNumber(probe, &id)) return Usage("timeline: PROBE is an id or visible");
  const DWORD start = GetTickCount();
  std::string last;
  unsigned long long seen = 0;
  for (bool first = true;; first = false) {
    std::string now = ProbeValue(caption, visibility, static_cast<int>(id));
    if (first || now != last) {
      last = now;
      std::printf("%lu %s\n", static_cast<unsigned long>(GetTickCount()), now.c_str());
      std::fflush(stdout);
      if (now == until && ++seen == nth) return kYes;
    }
    if (GetTickCount() - start >= timeoutMs) return kTimeout;
    Sleep(10);
  }
}

int Run(Args& a) {
  DWORD timeoutMs = 10000;
  const char* cmd = a.Next();
  if (cmd && std::strcmp(cmd, "-t") == 0) {
    unsigned long long t;
    if (!ParseNumber(a.Next(), &t)) return Usage("-t: milliseconds expected");
    timeoutMs = static_cast<DWORD>(t);
    cmd = a.Next();
  }
  if (!cmd) return Usage("subcommand missing (see the head of wintest.cpp)");
  std::string c = cmd;

  if (c == "wait") return Wait(a, timeoutMs);
  if (c == "timeline") return Timeline(a, timeoutMs);
  if (c == "acp") {
    std::printf("%u\n", GetACP());
    return kYes;
  }
  if (c == "add-printer") {
    const char* queue = a.Next();
    const char* port = a.Next();
    if (!queue || !port || !a.Done()) return Usage("add-printer: QUEUE PORT");
    return AddQueue(queue, port);
  }
  if (c == "menu") return FindPopupMenu() ? kYes : kNo;
  if (c == "menu-key") {
    HWND menu = FindPopupMenu();
    if (!menu) return kNotFound;
    if (a.Done()) return Usage("menu-key: VK...");
    while (!a.Done()) {
      unsigned long long vk;
      if (!ParseNumber(a.Next(), &vk)) return Usage("menu-key: virtual key code");
      PostKey(menu, static_cast<UINT>(vk));
    }
    return kYes;
  }
  if (c == "windows") {
    EnumWindows(DescribeIfClass, reinterpret_cast<LPARAM>(a.Next()));
    return kYes;
  }
  if (c == "children") {
    const char* cls = a.Next();
    HWND parent = cls ? FindWindowA(cls, nullptr) : nullptr;
    if (!parent) return kNotFound;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      DescribeWindow(child);
    return kYes;
  }
  if (c == "msgbox" || c == "msgbox-caption" || c == "msgbox-press") {
    HWND box = FindMessageBox();
    if (!box) return kNotFound;
    if (c == "msgbox") PrintLine(Escape(WindowText(GetDlgItem(box, 0xFFFF))));
    if (c == "msgbox-caption") PrintLine(Escape(WindowText(box)));
    if (c == "msgbox-press") {
      unsigned long long id;
      if (!ParseNumber(a.Next(), &id)) return Usage("msgbox-press: button id");
      HWND button = GetDlgItem(box, static_cast<int>(id));
      if (!button) return kNotFound;
      return PostMessageA(button, BM_CLICK, 0, 0) ? kYes : kFailed;
    }
    return kYes;
  }

  const char* captionArg = a.Next();
  if (!captionArg) return Usage("caption missing");
  std::string caption = captionArg;

  if (c == "count") {
    std::printf("%u\n", static_cast<unsigned>(WindowsWithCaption(caption).size()));
    return kYes;
  }
  HWND hwnd = FindByCaption(caption);
  if (!hwnd) {
    std::fprintf(stderr, "wintest: no top-level window \"%s\"\n", caption.c_str());
    return kNotFound;
  }
  if (c == "find") {
    std::printf("0x%08lX\n", static_cast<unsigned long>(reinterpret_cast<UINT_PTR>(hwnd)));
    return kYes;
  }
  if (c == "visible") return IsWindowVisible(hwnd) ? kYes : kNo;
  if (c == "taskbar") return TaskbarState(hwnd);
  if (c == "paint")
    return RedrawWindow(hwnd, nullptr, nullptr,
                        RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW)
               ? kYes
               : kFailed;
  if (c == "pid") {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    std::printf("%lu\n", static_cast<unsigned long>(pid));
    return kYes;
  }

  unsigned long long n1 = 0, n2 = 0, n3 = 0;
  if (c == "hit") {
    if (!ParseNumber(a.Next(), &n1)) return Usage("hit: hit-test code");
    // Ask the window, point by point over its top band (caption and frame), which part lies
    // where; the answer comes from the window's own process.
    RECT r = {};
    GetWindowRect(hwnd, &r);
    const int band = 4 * GetSystemMetrics(SM_CYCAPTION);
    long left = LONG_MAX, top = LONG_MAX, right = LONG_MIN, bottom = LONG_MIN;
    for (int y = r.top; y < r.bottom && y < r.top + band; y += 2) {
      for (int x = r.left; x < r.right; x += 2) {
        DWORD_PTR code = 0;
        if (!SendMessageTimeoutA(hwnd, WM_NCHITTEST, 0, MAKELPARAM(x, y), SMTO_ABORTIFHUNG,
                                 5000, &code))
          return kFailed;
        if (code != n1) continue;
        if (x < left) left = x;
        if (x > right) right = x;
        if (y < top) top = y;
        if (y > bottom) bottom = y;
      }
    }
    if (left > right) return kNotFound;
    std::printf("%ld %ld\n", (left + right) / 2, (top + bottom) / 2);
    return kYes;
  }
  if (c == "rect") {
    if (!ParseNumber(a.Next(), &n1)) return Usage("rect: control id");
    HWND control = n1 == 0 ? hwnd : GetDlgItem(hwnd, static_cast<int>(n1));
    if (!control) return kNotFound;
    RECT r = {};
    if (!GetWindowRect(control, &r)) return kFailed;
    std::printf("%ld %ld %ld %ld\n", r.left, r.top, r.right - r.left, r.bottom - r.top);
    return kYes;
  }
  if (c == "text" || c == "command" || c == "click") {
    if (!ParseNumber(a.Next(), &n1)) return Usage("control or command id expected");
    if (c == "command")
      return PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(n1, 0), 0) ? kYes : kFailed;
    HWND control = n1 == 0 ? hwnd : GetDlgItem(hwnd, static_cast<int>(n1));
    if (!control) return kNotFound;
    if (c == "text") {
      PrintLine(Escape(WindowText(control)));
      return kYes;
    }
    return PostMessageA(control, BM_CLICK, 0, 0) ? kYes : kFailed;
  }
  if (c == "post") {
    if (!ParseNumber(a.Next(), &n1) || !ParseNumber(a.Next(), &n2) || !ParseNumber(a.Next(), &n3))
      return Usage("post: MSG WPARAM LPARAM");
    return PostMessageA(hwnd, static_cast<UINT>(n1), static_cast<WPARAM>(n2),
                        static_cast<LPARAM>(n3))
               ? kYes
               : kFailed;
  }
  if (c == "key") {
    if (!ParseNumber(a.Next(), &n1)) return Usage("key: virtual key code");
    GUITHREADINFO info = {};
    info.cbSize = sizeof info;
    HWND target = hwnd;
    if (GetGUIThreadInfo(GetWindowThreadProcessId(hwnd, nullptr), &info) && info.hwndFocus)
      target = info.hwndFocus;
    UINT scan = MapVirtualKeyA(static_cast<UINT>(n1), 0 /* MAPVK_VK_TO_VSC */);
    LPARAM down = 1 | (static_cast<LPARAM>(scan) << 16);
    LPARAM up = down | (1L << 30) | (1L << 31);
    if (!PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(n1), down)) return kFailed;
    return PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(n1), up) ? kYes : kFailed;
  }
  if (c == "devchange") {
    const char* event = a.Next();
    const char* name = a.Next();
    if (!event || !name) return Usage("devchange: EVENT NAME");
    std::string e = event;
    if (e == "arrival") n1 = DBT_DEVICEARRIVAL;
    else if (e == "removal") n1 = DBT_DEVICEREMOVECOMPLETE;
    else if (!ParseNumber(event, &n1)) return Usage("devchange: EVENT");
    std::string rawName;
    if (!Unescape(name, &rawName)) return Usage("devchange: bad escape in NAME");
    // The record with the name in place of dbcc_name, the size covering the terminating NUL.
    std::vector<char> buf(offsetof(DEV_BROADCAST_DEVICEINTERFACE_A, dbcc_name) + rawName.size() + 1);
    auto* rec = reinterpret_cast<DEV_BROADCAST_DEVICEINTERFACE_A*>(buf.data());
    rec->dbcc_size = static_cast<DWORD>(buf.size());
    rec->dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
    rec->dbcc_classguid = {0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};
    std::memcpy(rec->dbcc_name, rawName.c_str(), rawName.size() + 1);
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, WM_DEVICECHANGE, static_cast<WPARAM>(n1),
                             reinterpret_cast<LPARAM>(rec), SMTO_ABORTIFHUNG, timeoutMs, &result))
      return kFailed;
    std::printf("%lu\n", static_cast<unsigned long>(result));
    return kYes;
  }
  return Usage("unknown subcommand");
}

}  // namespace

int main(int argc, char** argv) {
  _setmode(_fileno(stdout), _O_BINARY);
  Args a{argc, argv, 1};
  int r = Run(a);
  std::fflush(stdout);
  return r;
}
