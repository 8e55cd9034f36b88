#pragma once

#include "platform/spooler.h"

// ISpooler over winspool: OpenPrinterA, ClosePrinter, GetPrinterA (levels 2 and 5), EnumJobsA
// (level 2). Each reply carries GetLastError() of the failed call (cleared before the call, so
// a call that fails without setting an error reports 0).
class Win32Spooler : public ISpooler {
 public:
  bool OpenPrinter(const std::string& name, const PrinterDefaults& defaults,
                   PrinterHandle* printer) override;
  void ClosePrinter(PrinterHandle printer) override;
  SpoolerReply GetPrinter2(PrinterHandle printer, void* buffer, std::uint32_t size,
                           PrinterInfo2* info) override;
  SpoolerReply GetPrinter5(PrinterHandle printer, void* buffer, std::uint32_t size,
                           PrinterInfo5* info) override;
  SpoolerReply EnumJobs2(PrinterHandle printer, std::uint32_t firstJob, std::uint32_t count,
                         void* buffer, std::uint32_t size, std::vector<JobInfo2>* jobs) override;
};
