// Console helper of the idle benchmark, run under Wine in the benchmark's prefix.
//
//   bench_probe queue <name> <port>        driver, queue on <port> (RAW datatype) and its
//                                          DsSpooler\portName; adds "USB001" to the ports
//   bench_probe port <name> <port>         moves the queue: its "Port" and DsSpooler\portName
//   bench_probe handles <pid>...           one line per process:
//                                          pid=N listed=N counted=N gdi=N user=N errors=...
//   bench_probe selfcheck                  the same counts of this process before and after it
//                                          opens 10 events: shows which counts work here
//
// Output is "key=value" text for the benchmark script; exit code 0 on success.
//
// Handle counts: "listed" counts the process's entries in the system handle list
// (NtQuerySystemInformation, SystemHandleInformation), which Wine answers from the server's
// handle tables (Wine 8's server can crash when the list is read while another process starts
// or ends: run this only when nothing else is being started); "counted" is GetProcessHandleCount, which Wine 8 answers with 0. "gdi" and
// "user" are GetGuiResources, not implemented by Wine 8 (error 120). -1: the call failed.
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "tests/e2e/tools/test_queue.h"

namespace {

// The system handle list: a count, then one entry per handle of every process.
struct HandleEntry {
  ULONG ownerPid;
  BYTE objectType;
  BYTE flags;
  USHORT value;
  PVOID object;
  ULONG access;
};
constexpr ULONG kSystemHandleInformation = 16;
constexpr LONG kStatusInfoLengthMismatch = static_cast<LONG>(0xC0000004);
using QuerySystemInformation = LONG(WINAPI*)(ULONG, PVOID, ULONG, PULONG);

constexpr char kDriver[] = "Idle Benchmark Driver";
constexpr char kPrintersKey[] = "SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\";
constexpr char kPortsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports";

LONG SetString(HKEY root, const std::string& path, const char* name, DWORD type,
               const char* data, DWORD size) {
  HKEY key = nullptr;
  LONG rc = RegCreateKeyExA(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  rc = RegSetValueExA(key, name, 0, type, reinterpret_cast<const BYTE*>(data), size);
  RegCloseKey(key);
  return rc;
}

// The port as the spooler keeps it: "Port" (REG_SZ) and DsSpooler\portName (REG_MULTI_SZ).
bool WritePort(const char* queue, const char* port) {
  const std::string key = std::string(kPrintersKey) + queue;
  const DWORD len = static_cast<DWORD>(std::strlen(port));
  std::string multi = std::string(port) + '\0' + '\0';
  LONG rc = SetString(HKEY_LOCAL_MACHINE, key, "Port", REG_SZ, port, len + 1);
  if (rc == ERROR_SUCCESS)
    rc = SetString(HKEY_LOCAL_MACHINE, key + "\\DsSpooler", "portName", REG_MULTI_SZ,
                   multi.data(), len + 2);
  if (rc != ERROR_SUCCESS) {
    std::printf("error=registry %ld\n", rc);
    return false;
  }
  return true;
}

int AddQueue(const char* queue, const char* port) {
  // A queue Wine cannot open (1801) unless its key holds a "Datatype" before it is made.
  const std::string key = std::string(kPrintersKey) + queue;
  if (SetString(HKEY_LOCAL_MACHINE, key, "Datatype", REG_SZ, "RAW", 4) != ERROR_SUCCESS ||
      SetString(HKEY_LOCAL_MACHINE, kPortsKey, "USB001", REG_SZ, "", 1) != ERROR_SUCCESS) {
    std::printf("error=registry seed\n");
    return 1;
  }
  const std::string error = AddTestQueue(queue, port, kDriver);
  if (!error.empty()) {
    std::printf("error=%s\n", error.c_str());
    return 1;
  }
  // Read it back the way the monitor will.
  HANDLE check = nullptr;
  if (!OpenPrinterA(const_cast<char*>(queue), &check, nullptr)) {
    std::printf("error=OpenPrinterA %lu\n", GetLastError());
    return 1;
  }
  ClosePrinter(check);
  if (!WritePort(queue, port)) return 1;
  std::printf("queue=%s\nport=%s\n", queue, port);
  return 0;
}

int MovePort(const char* queue, const char* port) {
  if (!WritePort(queue, port)) return 1;
  std::printf("port=%s\n", port);
  return 0;
}

// Entries of the system handle list owned by pid; -1 when the list cannot be read. The buffer
// grows (up to 64 MB) while the call asks for more.
long ListedHandles(DWORD pid) {
  static const auto query = reinterpret_cast<QuerySystemInformation>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtQuerySystemInformation")));
  static std::string buffer(1 << 16, '\0');
  if (query == nullptr) return -1;
  for (;;) {
    ULONG needed = 0;
    const LONG status = query(kSystemHandleInformation, buffer.data(),
                              static_cast<ULONG>(buffer.size()), &needed);
    if (status == kStatusInfoLengthMismatch) {
      const std::size_t next = needed > buffer.size() ? needed + 4096 : buffer.size() * 2;
      if (next > (64u << 20)) return -1;
      buffer.assign(next, '\0');
      continue;
    }
    if (status < 0) return -1;
    ULONG count = 0;
    std::memcpy(&count, buffer.data(), sizeof count);
    const std::size_t room = (buffer.size() - sizeof(ULONG_PTR)) / sizeof(HandleEntry);
    if (count > room) return -1;
    const auto* entries = reinterpret_cast<const HandleEntry*>(buffer.data() + sizeof(ULONG_PTR));
    long mine = 0;
    for (ULONG i = 0; i < count; ++i) {
      if (entries[i].ownerPid == pid) ++mine;
    }
    return mine;
  }
}

// Handles of the process (GetProcessHandleCount), GDI and USER objects (GetGuiResources);
// -1 where the call fails. Returns false when the process cannot be opened or has ended.
bool HandleLine(HANDLE process, DWORD pid, std::string* line) {
  DWORD exitCode = 0;
  if (!GetExitCodeProcess(process, &exitCode) || exitCode != STILL_ACTIVE) return false;
  char text[200];
  const long listed = ListedHandles(pid);
  DWORD count = 0;
  long handles = -1;
  DWORD handleError = 0;
  if (GetProcessHandleCount(process, &count)) {
    handles = static_cast<long>(count);
  } else {
    handleError = GetLastError();
  }
  SetLastError(0);
  const DWORD gdi = GetGuiResources(process, GR_GDIOBJECTS);
  const DWORD gdiError = GetLastError();
  SetLastError(0);
  const DWORD user = GetGuiResources(process, GR_USEROBJECTS);
  const DWORD userError = GetLastError();
  std::snprintf(text, sizeof text, "listed=%ld counted=%ld gdi=%lu user=%lu errors=%lu,%lu,%lu",
                listed, handles,
                static_cast<unsigned long>(gdi), static_cast<unsigned long>(user),
                static_cast<unsigned long>(handleError), static_cast<unsigned long>(gdiError),
                static_cast<unsigned long>(userError));
  *line = text;
  return true;
}

HANDLE OpenTarget(const char* pidText, DWORD* pidOut) {
  const DWORD pid = static_cast<DWORD>(std::strtoul(pidText, nullptr, 0));
  *pidOut = pid;
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  return process;
}

int Handles(int count, char** pids) {
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    DWORD pid = 0;
    HANDLE process = OpenTarget(pids[i], &pid);
    std::string line;
    if (process == nullptr || !HandleLine(process, pid, &line)) {
      std::printf("pid=%lu error=not running\n", static_cast<unsigned long>(pid));
      ++failed;
    } else {
      std::printf("pid=%lu %s\n", static_cast<unsigned long>(pid), line.c_str());
    }
    if (process != nullptr) CloseHandle(process);
  }
  return failed == 0 ? 0 : 1;
}

int SelfCheck() {
  const DWORD pid = GetCurrentProcessId();
  HANDLE self = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, pid);
  if (self == nullptr) {
    std::printf("error=OpenProcess %lu\n", GetLastError());
    return 1;
  }
  std::string before;
  std::string after;
  HandleLine(self, pid, &before);
  HANDLE events[10];
  for (HANDLE& event : events) event = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  HandleLine(self, pid, &after);
  for (HANDLE event : events) CloseHandle(event);
  CloseHandle(self);
  std::printf("before=%s\nafter_10_events=%s\n", before.c_str(), after.c_str());
  return 0;
}

int Usage() {
  std::fputs(
      "usage: bench_probe queue <name> <port> | port <name> <port> | handles <pid>... |"
      " selfcheck\n",
      stderr);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) return Usage();
  const std::string command = argv[1];
  if (command == "queue" && argc == 4) return AddQueue(argv[2], argv[3]);
  if (command == "port" && argc == 4) return MovePort(argv[2], argv[3]);
  if (command == "handles" && argc >= 3) return Handles(argc - 2, argv + 2);
  if (command == "selfcheck" && argc == 2) return SelfCheck();
  return Usage();
}
