// Check program for the winspool stand-in: makes a queue and reads it back
// through whatever winspool.drv the loader gives it, the way the status
// monitor does. Output is "key=value" lines for test_standin.sh; protocol
// faults are reported as "fault=..." lines and exit code 1.
//
//   standin_check add <queue> <port>        driver + queue (RAW datatype)
//   standin_check show <queue>              module, status, cJobs, job list, level 5
//   standin_check enum <queue> <first> <n>  EnumJobsA level 2 from job <first>
//   standin_check watch <queue> <status> <ms>  polls until Status is <status>
#include <windows.h>
#include <winspool.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "tests/e2e/tools/test_queue.h"

namespace {

constexpr char kDriver[] = "StandIn Test Driver";

int g_faults = 0;

void Fault(const char* what, DWORD a = 0, DWORD b = 0) {
  std::printf("fault=%s (%lu, %lu)\n", what, static_cast<unsigned long>(a),
              static_cast<unsigned long>(b));
  ++g_faults;
}

int Add(const char* queue, const char* port) {
  const std::string error = AddTestQueue(queue, port, kDriver);
  if (!error.empty()) {
    std::printf("error=%s\n", error.c_str());
    return 1;
  }
  std::printf("added=%s\n", queue);
  return 0;
}

std::string ModulePath(const char* name) {
  HMODULE module = GetModuleHandleA(name);
  if (!module) return "(not loaded)";
  char path[MAX_PATH] = "";
  GetModuleFileNameA(module, path, sizeof path);
  return path;
}

HANDLE Open(const char* queue) {
  PRINTER_DEFAULTSA defaults{};
  defaults.DesiredAccess = PRINTER_ACCESS_USE;
  HANDLE printer = nullptr;
  if (!OpenPrinterA(const_cast<char*>(queue), &printer, &defaults)) {
    std::printf("error=OpenPrinterA %lu\n", GetLastError());
    return nullptr;
  }
  return printer;
}

// GetPrinterA with the size query first, as the monitor does.
bool QueryPrinter(HANDLE printer, DWORD level, std::vector<BYTE>* buffer) {
  DWORD needed = 0;
  SetLastError(0);
  if (GetPrinterA(printer, level, nullptr, 0, &needed)) {
    Fault("GetPrinterA size query succeeded", level);
    return false;
  }
  DWORD error = GetLastError();
  if (error != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
    Fault("GetPrinterA size query", error, needed);
    return false;
  }
  buffer->assign(needed, 0);
  DWORD again = 0;
  if (!GetPrinterA(printer, level, buffer->data(), needed, &again)) {
    Fault("GetPrinterA data call", GetLastError(), needed);
    return false;
  }
  return true;
}

// Bytes past the size EnumJobsA asked for; they must stay untouched.
constexpr DWORD kGuard = 64;
constexpr BYTE kGuardByte = 0xcc;

bool InBuffer(const void* p, const std::vector<BYTE>& buffer, DWORD size) {
  const BYTE* b = static_cast<const BYTE*>(p);
  return b >= buffer.data() && b < buffer.data() + size;
}

// EnumJobsA level 2 with the full two-call protocol; checks the too-small
// buffer case on the way. Returns the job records (empty on failure).
std::vector<JOB_INFO_2A> ListJobs(HANDLE printer, DWORD first, DWORD count, std::vector<BYTE>* buffer) {
  std::vector<JOB_INFO_2A> jobs;
  DWORD needed = 0xdeadbeef;
  DWORD returned = 0xdeadbeef;
  SetLastError(0);
  BOOL ok = EnumJobsA(printer, first, count, 2, nullptr, 0, &needed, &returned);
  DWORD error = ok ? 0 : GetLastError();
  std::printf("size_query=%s error=%lu needed=%lu\n", ok ? "TRUE" : "FALSE", error, needed);
  if (ok) {
    if (needed != 0 || returned != 0) Fault("empty enumeration reports data", needed, returned);
    return jobs;
  }
  // Anything but "buffer too small" ends the enumeration; the caller judges it.
  if (error != ERROR_INSUFFICIENT_BUFFER) return jobs;
  if (needed == 0) {
    Fault("EnumJobsA size query asks for nothing", error, needed);
    return jobs;
  }
  const DWORD full = needed;
  buffer->assign(full + kGuard, kGuardByte);
  // One byte short must still be refused, with the same size asked for.
  needed = 0;
  returned = 0xdeadbeef;
  SetLastError(0);
  if (EnumJobsA(printer, first, count, 2, buffer->data(), full - 1, &needed, &returned) ||
      GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed != full || returned != 0) {
    Fault("EnumJobsA one byte short", needed, returned);
  }
  needed = 0;
  returned = 0;
  if (!EnumJobsA(printer, first, count, 2, buffer->data(), full, &needed, &returned)) {
    Fault("EnumJobsA data call", GetLastError(), full);
    return jobs;
  }
  if (needed != full) Fault("EnumJobsA data call needed", needed, full);
  for (DWORD i = full; i < full + kGuard; ++i) {
    if ((*buffer)[i] != kGuardByte) {
      Fault("EnumJobsA wrote past the size it asked for", i - full, full);
      break;
    }
  }
  if (returned > count) Fault("EnumJobsA returned more than asked", returned, count);
  if (static_cast<unsigned long long>(returned) * sizeof(JOB_INFO_2A) > full) {
    Fault("EnumJobsA records overrun the buffer", returned, full);
    return jobs;
  }
  const JOB_INFO_2A* records = reinterpret_cast<const JOB_INFO_2A*>(buffer->data());
  for (DWORD i = 0; i < returned; ++i) {
    const JOB_INFO_2A& job = records[i];
    const char* strings[] = {job.pPrinterName, job.pMachineName, job.pUserName, job.pDocument,
                             job.pDatatype};
    for (const char* s : strings) {
      if (!s || !InBuffer(s, *buffer, full)) Fault("JOB_INFO_2A string outside the buffer", i);
    }
    jobs.push_back(job);
  }
  return jobs;
}

void PrintJobs(const std::vector<JOB_INFO_2A>& jobs) {
  std::printf("returned=%u\njobs=", static_cast<unsigned>(jobs.size()));
  for (size_t i = 0; i < jobs.size(); ++i) {
    std::printf("%s0x%lx", i ? "," : "", jobs[i].Status);
  }
  std::printf("\njob_ids=");
  for (size_t i = 0; i < jobs.size(); ++i) {
    std::printf("%s%lu", i ? "," : "", jobs[i].JobId);
  }
  std::printf("\n");
}

int Show(const char* queue) {
  std::printf("winspool=%s\n", ModulePath("winspool.drv").c_str());
  std::printf("winspool_wine=%s\n", ModulePath("winspool_wine.drv").c_str());
  HANDLE printer = Open(queue);
  if (!printer) return 1;

  std::vector<BYTE> p2;
  if (QueryPrinter(printer, 2, &p2)) {
    const PRINTER_INFO_2A* info = reinterpret_cast<const PRINTER_INFO_2A*>(p2.data());
    std::printf("name=%s\nport=%s\nstatus=0x%lx\ncjobs=%lu\n", info->pPrinterName,
                info->pPortName, info->Status, info->cJobs);
    std::vector<BYTE> jobBuffer;
    PrintJobs(ListJobs(printer, 0, info->cJobs, &jobBuffer));
  }

  std::vector<BYTE> p5;
  if (QueryPrinter(printer, 5, &p5)) {
    const PRINTER_INFO_5A* info = reinterpret_cast<const PRINTER_INFO_5A*>(p5.data());
    std::printf("level5_name=%s\nlevel5_port=%s\n", info->pPrinterName, info->pPortName);
  }

  // Other levels of EnumJobsA are the real spooler's.
  DWORD needed = 0xdeadbeef;
  DWORD returned = 0xdeadbeef;
  SetLastError(12345);
  BOOL ok = EnumJobsA(printer, 0, 16, 1, nullptr, 0, &needed, &returned);
  std::printf("enum_level1=%s error=%lu needed=%lu\n", ok ? "TRUE" : "FALSE", GetLastError(),
              needed);

  if (!ClosePrinter(printer)) Fault("ClosePrinter", GetLastError());
  return g_faults ? 1 : 0;
}

int Enum(const char* queue, DWORD first, DWORD count) {
  HANDLE printer = Open(queue);
  if (!printer) return 1;
  std::vector<BYTE> buffer;
  PrintJobs(ListJobs(printer, first, count, &buffer));
  ClosePrinter(printer);
  return g_faults ? 1 : 0;
}

// Polls GetPrinterA level 2 of one open handle until Status is `want`, the
// way a long-running monitor sees the queue. Exit 0 when seen, 1 at the limit.
int Watch(const char* queue, DWORD want, DWORD limitMs) {
  HANDLE printer = Open(queue);
  if (!printer) return 1;
  const DWORD start = GetTickCount();
  DWORD last = 0xffffffff;
  for (;;) {
    std::vector<BYTE> p2;
    if (!QueryPrinter(printer, 2, &p2)) break;
    DWORD status = reinterpret_cast<const PRINTER_INFO_2A*>(p2.data())->Status;
    if (status != last) {
      std::printf("status=0x%lx\n", status);
      last = status;
    }
    if (status == want) {
      ClosePrinter(printer);
      return g_faults ? 1 : 0;
    }
    if (GetTickCount() - start > limitMs) {
      std::printf("timeout=%lu\n", limitMs);
      break;
    }
    Sleep(10);
  }
  ClosePrinter(printer);
  return 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);
  if (argc == 4 && std::strcmp(argv[1], "add") == 0) return Add(argv[2], argv[3]);
  if (argc == 3 && std::strcmp(argv[1], "show") == 0) return Show(argv[2]);
  if (argc == 5 && std::strcmp(argv[1], "enum") == 0) {
    return Enum(argv[2], std::strtoul(argv[3], nullptr, 0), std::strtoul(argv[4], nullptr, 0));
  }
  if (argc == 5 && std::strcmp(argv[1], "watch") == 0) {
    return Watch(argv[2], std::strtoul(argv[3], nullptr, 0), std::strtoul(argv[4], nullptr, 0));
  }
  std::fprintf(stderr,
               "usage: standin_check add <queue> <port> | show <queue> |"
               " enum <queue> <first> <n> | watch <queue> <status> <ms>\n");
  return 2;
}
