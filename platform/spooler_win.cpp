#include <windows.h>
#include <winspool.h>

#include "platform/spooler_win.h"

#include "platform/win32_handles.h"

namespace {

LPBYTE Buffer(void* buffer, std::uint32_t size) {
  return size != 0 ? static_cast<LPBYTE>(buffer) : nullptr;
}

SpoolerReply Reply(BOOL ok, DWORD needed) {
  SpoolerReply reply;
  reply.ok = ok != FALSE;
  reply.error = ok ? 0 : ::GetLastError();
  reply.needed = needed;
  return reply;
}

}  // namespace

bool Win32Spooler::OpenPrinter(const std::string& name, const PrinterDefaults& defaults,
                               PrinterHandle* printer) {
  PRINTER_DEFAULTSA request{};
  request.pDatatype = nullptr;
  request.pDevMode = nullptr;
  request.DesiredAccess = defaults.desiredAccess;
  HANDLE handle = nullptr;
  if (!::OpenPrinterA(const_cast<char*>(name.c_str()), &handle, &request)) return false;
  *printer = ToPlatform(handle);
  return true;
}

void Win32Spooler::ClosePrinter(PrinterHandle printer) {
  ::ClosePrinter(FromPlatform<HANDLE>(printer));
}

SpoolerReply Win32Spooler::GetPrinter2(PrinterHandle printer, void* buffer, std::uint32_t size,
                                       PrinterInfo2* info) {
  DWORD needed = 0;
  ::SetLastError(0);
  const BOOL ok = ::GetPrinterA(FromPlatform<HANDLE>(printer), 2, Buffer(buffer, size), size,
                                &needed);
  const SpoolerReply reply = Reply(ok, needed);
  if (reply.ok && info != nullptr && size >= sizeof(PRINTER_INFO_2A)) {
    const auto* record = static_cast<const PRINTER_INFO_2A*>(buffer);
    info->status = record->Status;
    info->cJobs = record->cJobs;
  }
  return reply;
}

SpoolerReply Win32Spooler::GetPrinter5(PrinterHandle printer, void* buffer, std::uint32_t size,
                                       PrinterInfo5* info) {
  DWORD needed = 0;
  ::SetLastError(0);
  const BOOL ok = ::GetPrinterA(FromPlatform<HANDLE>(printer), 5, Buffer(buffer, size), size,
                                &needed);
  const SpoolerReply reply = Reply(ok, needed);
  if (reply.ok && info != nullptr && size >= sizeof(PRINTER_INFO_5A)) {
    const auto* record = static_cast<const PRINTER_INFO_5A*>(buffer);
    info->portName = record->pPortName != nullptr ? record->pPortName : "";
  }
  return reply;
}

SpoolerReply Win32Spooler::EnumJobs2(PrinterHandle printer, std::uint32_t firstJob,
                                     std::uint32_t count, void* buffer, std::uint32_t size,
                                     std::vector<JobInfo2>* jobs) {
  DWORD needed = 0;
  DWORD returned = 0;
  ::SetLastError(0);
  const BOOL ok = ::EnumJobsA(FromPlatform<HANDLE>(printer), firstJob, count, 2,
                              Buffer(buffer, size), size, &needed, &returned);
  const SpoolerReply reply = Reply(ok, needed);
  if (reply.ok && jobs != nullptr) {
    jobs->clear();
    const auto* records = static_cast<const JOB_INFO_2A*>(buffer);
    const DWORD fit = size / sizeof(JOB_INFO_2A);
    for (DWORD i = 0; i < returned && i < fit; ++i) jobs->push_back(JobInfo2{records[i].Status});
  }
  return reply;
}
