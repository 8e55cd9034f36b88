// The print spooler as the portable code uses it.
//
// The record reads mirror the spooler's two-call protocol so that the caller decides the buffer
// sizes: a call with a buffer smaller than the record fails with error 122
// (ERROR_INSUFFICIENT_BUFFER) and reports the needed size; a call with a large enough buffer
// fills it and translates the record into the portable struct. The buffer is the caller's and
// stays valid only for the call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "handles.h"

// <winspool.h> defines this name as a macro for its ANSI and wide functions; here it is a
// member name. Win32 code includes <winspool.h> before this header.
#undef OpenPrinter

constexpr std::uint32_t kPrinterAllAccess = 0xF000C;

// PRINTER_DEFAULTS: data type and device mode are always "none" in this package.
struct PrinterDefaults {
  std::uint32_t desiredAccess = 0;
};

struct SpoolerReply {
  bool ok = false;
  std::uint32_t error = 0;   // GetLastError() after a failed call
  std::uint32_t needed = 0;  // bytes needed (pcbNeeded)
};

struct PrinterInfo2 {  // the fields of PRINTER_INFO_2 that are used
  std::uint32_t status = 0;
  std::uint32_t cJobs = 0;
};

struct PrinterInfo5 {  // the field of PRINTER_INFO_5 that is used
  std::string portName;
};

struct JobInfo2 {  // the field of JOB_INFO_2 that is used
  std::uint32_t status = 0;
};

class ISpooler {
 public:
  virtual ~ISpooler() = default;

  // OpenPrinterA. On success *printer holds the handle; on failure returns false.
  virtual bool OpenPrinter(const std::string& name, const PrinterDefaults& defaults,
                           PrinterHandle* printer) = 0;
  virtual void ClosePrinter(PrinterHandle printer) = 0;

  // GetPrinterA at level 2 / level 5 into buffer[0..size).
  virtual SpoolerReply GetPrinter2(PrinterHandle printer, void* buffer, std::uint32_t size,
                                   PrinterInfo2* info) = 0;
  virtual SpoolerReply GetPrinter5(PrinterHandle printer, void* buffer, std::uint32_t size,
                                   PrinterInfo5* info) = 0;
  // EnumJobsA at level 2 for jobs [firstJob, firstJob + count).
  virtual SpoolerReply EnumJobs2(PrinterHandle printer, std::uint32_t firstJob,
                                 std::uint32_t count, void* buffer, std::uint32_t size,
                                 std::vector<JobInfo2>* jobs) = 0;
};
