// Test-only stand-in for winspool.drv (never shipped).
//
// Wine's spooler always reports a queue as idle and empty: GetPrinterA level 2
// gives Status 0 and cJobs 0, EnumJobsA is a stub. This DLL sits beside the
// program under test (WINEDLLOVERRIDES=winspool.drv=n,b) and forwards every
// export to a renamed copy of Wine's own winspool.drv ("winspool_wine.drv"),
// except two, which it answers from test state in the registry:
//
//   HKEY_CURRENT_USER\Software\WinspoolStandIn\<printer name>
//     "Status"  REG_DWORD      replaces PRINTER_INFO_2.Status
//     "Jobs"    REG_BINARY     little-endian DWORD job Status values, or
//               REG_MULTI_SZ   one number per string ("0x2010", "16", ...)
//
// GetPrinterA level 2: the real call, then Status and cJobs replaced (cJobs
// only when "Jobs" exists). EnumJobsA level 2: JOB_INFO_2A records made from
// "Jobs". No key, no value or another level: the real function, untouched.
// The state is read on every call so a test can change it while the program
// runs.
#include <windows.h>
#include <winspool.h>

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>

namespace {

constexpr char kRealModule[] = "winspool_wine.drv";
constexpr char kStateRoot[] = "Software\\WinspoolStandIn\\";
constexpr DWORD kMaxJobs = 4096;

using GetPrinterAFn = BOOL(WINAPI*)(HANDLE, DWORD, LPBYTE, DWORD, LPDWORD);
using EnumJobsAFn = BOOL(WINAPI*)(HANDLE, DWORD, DWORD, DWORD, LPBYTE, DWORD, LPDWORD, LPDWORD);

void Trace(const char* text) {
  OutputDebugStringA(text);
}

FARPROC Real(const char* name) {
  // The forwarders already keep the module loaded; LoadLibrary only adds a
  // reference the first time and then finds it.
  static HMODULE module = nullptr;
  HMODULE m = static_cast<HMODULE>(InterlockedCompareExchangePointer(
      reinterpret_cast<PVOID volatile*>(&module), nullptr, nullptr));
  if (!m) {
    m = LoadLibraryA(kRealModule);
    if (!m) {
      Trace("winspool stand-in: cannot load winspool_wine.drv\n");
      return nullptr;
    }
    InterlockedExchangePointer(reinterpret_cast<PVOID volatile*>(&module), m);
  }
  return GetProcAddress(m, name);
}

GetPrinterAFn RealGetPrinterA() {
  return reinterpret_cast<GetPrinterAFn>(reinterpret_cast<void*>(Real("GetPrinterA")));
}

EnumJobsAFn RealEnumJobsA() {
  return reinterpret_cast<EnumJobsAFn>(reinterpret_cast<void*>(Real("EnumJobsA")));
}

// The test state of one queue, as found in the registry.
struct QueueState {
  bool hasStatus = false;
  DWORD status = 0;
  bool hasJobs = false;
  DWORD jobCount = 0;
  DWORD jobs[kMaxJobs];
};

// Reads a value of any size into a heap block (HeapFree it). False when the
// value is absent or unreadable.
bool ReadValue(HKEY key, const char* name, DWORD* type, BYTE** data, DWORD* size) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD needed = 0;
    if (RegQueryValueExA(key, name, nullptr, type, nullptr, &needed) != ERROR_SUCCESS) {
      return false;
    }
    // Room for two terminators so a REG_MULTI_SZ stored without them is still safe.
    BYTE* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, needed + 2));
    if (!block) return false;
    DWORD got = needed;
    LONG rc = RegQueryValueExA(key, name, nullptr, type, block, &got);
    if (rc == ERROR_SUCCESS) {
      *data = block;
      *size = got;
      return true;
    }
    HeapFree(GetProcessHeap(), 0, block);
    if (rc != ERROR_MORE_DATA) return false;  // grew in between: try again
  }
  return false;
}

bool ParseJobs(DWORD type, const BYTE* data, DWORD size, QueueState* state) {
  DWORD count = 0;
  if (type == REG_BINARY) {
    if (size % sizeof(DWORD) != 0 || size / sizeof(DWORD) > kMaxJobs) return false;
    count = size / sizeof(DWORD);
    std::memcpy(state->jobs, data, size);
  } else if (type == REG_MULTI_SZ) {
    const char* p = reinterpret_cast<const char*>(data);
    const char* end = p + size;
    while (p < end && *p) {
      // "0x..." is hex, anything else decimal (no octal surprise for "010").
      const bool hex = p[0] == '0' && (p[1] == 'x' || p[1] == 'X');
      const char* digits = hex ? p + 2 : p;
      const bool digitFirst = hex ? std::isxdigit(static_cast<unsigned char>(*digits)) != 0
                                  : (*digits >= '0' && *digits <= '9');
      char* stop = nullptr;
      errno = 0;
      unsigned long value = std::strtoul(digits, &stop, hex ? 16 : 10);
      if (!digitFirst || *stop != '\0' || errno == ERANGE || count == kMaxJobs) {
        return false;
      }
      state->jobs[count++] = static_cast<DWORD>(value);
      p = stop + 1;
    }
  } else {
    return false;
  }
  state->jobCount = count;
  return true;
}

// Fills *state from the registry. False when the queue has no test state.
bool ReadState(const char* printerName, QueueState* state) {
  if (!printerName || !*printerName) return false;
  const size_t rootLen = sizeof kStateRoot - 1;
  const size_t nameLen = std::strlen(printerName);
  if (nameLen > 1024) return false;
  char path[sizeof kStateRoot + 1024];
  std::memcpy(path, kStateRoot, rootLen);
  std::memcpy(path + rootLen, printerName, nameLen + 1);

  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
    return false;
  }
  DWORD type = 0;
  DWORD status = 0;
  DWORD size = sizeof status;
  if (RegQueryValueExA(key, "Status", nullptr, &type, reinterpret_cast<BYTE*>(&status), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof status) {
    state->hasStatus = true;
    state->status = status;
  }
  BYTE* data = nullptr;
  if (ReadValue(key, "Jobs", &type, &data, &size)) {
    state->hasJobs = ParseJobs(type, data, size, state);
    if (!state->hasJobs) Trace("winspool stand-in: \"Jobs\" value malformed, ignored\n");
    HeapFree(GetProcessHeap(), 0, data);
  }
  RegCloseKey(key);
  return true;
}

QueueState* NewState() {
  void* block = HeapAlloc(GetProcessHeap(), 0, sizeof(QueueState));
  return block ? new (block) QueueState : nullptr;
}

void FreeState(QueueState* state) {
  if (state) HeapFree(GetProcessHeap(), 0, state);
}

// PRINTER_INFO_2A of a handle from the real spooler (HeapFree it).
PRINTER_INFO_2A* QueryPrinter2(GetPrinterAFn getPrinter, HANDLE printer) {
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD needed = 0;
    if (getPrinter(printer, 2, nullptr, 0, &needed) ||
        GetLastError() != ERROR_INSUFFICIENT_BUFFER || needed == 0) {
      return nullptr;
    }
    BYTE* block = static_cast<BYTE*>(HeapAlloc(GetProcessHeap(), 0, needed));
    if (!block) {
      SetLastError(ERROR_NOT_ENOUGH_MEMORY);
      return nullptr;
    }
    DWORD again = 0;
    if (getPrinter(printer, 2, block, needed, &again)) {
      return reinterpret_cast<PRINTER_INFO_2A*>(block);
    }
    DWORD error = GetLastError();
    HeapFree(GetProcessHeap(), 0, block);
    if (error != ERROR_INSUFFICIENT_BUFFER) {
      SetLastError(error);
      return nullptr;
    }
  }
  return nullptr;
}

DWORD StringSize(const char* s) {
  return static_cast<DWORD>(std::strlen(s) + 1);
}

// Strings every synthesized job carries; the same for all records.
struct JobStrings {
  const char* printer;
  const char* machine;
  const char* user;
  const char* document;
  const char* datatype;
  const char* processor;
  const char* parameters;
  const char* driver;

  DWORD Size() const {
    return StringSize(printer) + StringSize(machine) + 2 * StringSize(user) + StringSize(document) +
           StringSize(datatype) + StringSize(processor) + StringSize(parameters) + StringSize(driver);
  }
};

// Copies s below *top (strings are packed from the end of the buffer, as the
// spooler does) and returns its new address.
char* PlaceString(BYTE** top, const char* s) {
  DWORD n = StringSize(s);
  *top -= n;
  std::memcpy(*top, s, n);
  return reinterpret_cast<char*>(*top);
}

BOOL EnumJobsFromState(const PRINTER_INFO_2A* info, const QueueState& state, DWORD firstJob,
                       DWORD noJobs, LPBYTE buffer, DWORD bufferSize, LPDWORD needed,
                       LPDWORD returned) {
  DWORD count = 0;
  if (firstJob < state.jobCount) {
    DWORD left = state.jobCount - firstJob;
    count = noJobs < left ? noJobs : left;
  }
  JobStrings strings{info->pPrinterName ? info->pPrinterName : "",
                     "\\\\localhost",
                     "tester",
                     "Test document",
                     "RAW",
                     info->pPrintProcessor && *info->pPrintProcessor ? info->pPrintProcessor
                                                                     : "winprint",
                     "",
                     info->pDriverName ? info->pDriverName : ""};
  // count <= kMaxJobs and the strings are bounded, so this cannot overflow.
  DWORD total = count ? count * (sizeof(JOB_INFO_2A) + strings.Size()) : 0;
  *needed = total;
  *returned = 0;
  if (total > bufferSize) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return FALSE;
  }
  if (count == 0) return TRUE;
  if (!buffer) {
    SetLastError(ERROR_INVALID_USER_BUFFER);
    return FALSE;
  }

  SYSTEMTIME now;
  GetSystemTime(&now);
  JOB_INFO_2A* records = reinterpret_cast<JOB_INFO_2A*>(buffer);
  BYTE* top = buffer + total;
  for (DWORD i = 0; i < count; ++i) {
    JOB_INFO_2A& job = records[i];
    std::memset(&job, 0, sizeof job);
    DWORD position = firstJob + i + 1;
    job.JobId = position;
    job.pPrinterName = PlaceString(&top, strings.printer);
    job.pMachineName = PlaceString(&top, strings.machine);
    job.pUserName = PlaceString(&top, strings.user);
    job.pDocument = PlaceString(&top, strings.document);
    job.pNotifyName = PlaceString(&top, strings.user);
    job.pDatatype = PlaceString(&top, strings.datatype);
    job.pPrintProcessor = PlaceString(&top, strings.processor);
    job.pParameters = PlaceString(&top, strings.parameters);
    job.pDriverName = PlaceString(&top, strings.driver);
    job.pDevMode = nullptr;
    job.pStatus = nullptr;
    job.pSecurityDescriptor = nullptr;
    job.Status = state.jobs[firstJob + i];
    job.Priority = DEF_PRIORITY;
    job.Position = position;
    job.TotalPages = 1;
    job.Submitted = now;
  }
  *returned = count;
  return TRUE;
}

}  // namespace

extern "C" {

BOOL WINAPI StandIn_GetPrinterA(HANDLE printer, DWORD level, LPBYTE buffer, DWORD bufferSize,
                                LPDWORD needed) {
  GetPrinterAFn real = RealGetPrinterA();
  if (!real) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
  }
  BOOL ok = real(printer, level, buffer, bufferSize, needed);
  if (!ok || level != 2 || !buffer) return ok;

  DWORD error = GetLastError();
  PRINTER_INFO_2A* info = reinterpret_cast<PRINTER_INFO_2A*>(buffer);
  QueueState* state = NewState();
  if (state && ReadState(info->pPrinterName, state)) {
    if (state->hasStatus) info->Status = state->status;
    if (state->hasJobs) info->cJobs = state->jobCount;
  }
  FreeState(state);
  SetLastError(error);
  return ok;
}

BOOL WINAPI StandIn_EnumJobsA(HANDLE printer, DWORD firstJob, DWORD noJobs, DWORD level,
                              LPBYTE buffer, DWORD bufferSize, LPDWORD needed, LPDWORD returned) {
  EnumJobsAFn realEnum = RealEnumJobsA();
  GetPrinterAFn realGet = RealGetPrinterA();
  if (!realEnum || !realGet) {
    SetLastError(ERROR_PROC_NOT_FOUND);
    return FALSE;
  }
  if (level != 2) {
    return realEnum(printer, firstJob, noJobs, level, buffer, bufferSize, needed, returned);
  }
  if (!needed || !returned) {
    SetLastError(RPC_X_NULL_REF_POINTER);
    return FALSE;
  }

  // Without test state the caller must see exactly what the real spooler
  // says, last error included.
  const DWORD callerError = GetLastError();
  PRINTER_INFO_2A* info = QueryPrinter2(realGet, printer);
  if (!info) {
    SetLastError(callerError);
    return realEnum(printer, firstJob, noJobs, level, buffer, bufferSize, needed, returned);
  }
  QueueState* state = NewState();
  BOOL result;
  if (state && ReadState(info->pPrinterName, state) && state->hasJobs) {
    result = EnumJobsFromState(info, *state, firstJob, noJobs, buffer, bufferSize, needed, returned);
  } else {
    SetLastError(callerError);
    result = realEnum(printer, firstJob, noJobs, level, buffer, bufferSize, needed, returned);
  }
  FreeState(state);
  HeapFree(GetProcessHeap(), 0, info);
  return result;
}

}  // extern "C"
