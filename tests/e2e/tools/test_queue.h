// Making a printer queue for a test under Wine: a driver record whose files need not exist
// (Wine's spooler does not check them) and a queue of that driver on a port, with data type RAW
// so that it can be opened. Shared by the test programs that need a queue of their own.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <string>

// Adds the driver `driverName` and the queue `queue` on `port`. Returns an empty string on
// success, else the call that failed and its error code, e.g. "AddPrinterA 1796".
inline std::string AddTestQueue(const char* queue, const char* port, const char* driverName) {
  char dir[MAX_PATH] = {};
  DWORD size = 0;
  if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE*>(dir), sizeof dir,
                                  &size)) {
    return "GetPrinterDriverDirectoryA " + std::to_string(GetLastError());
  }
  const std::string file = std::string(dir) + "\\test_queue_driver.dll";
  DRIVER_INFO_3A driver = {};
  driver.cVersion = 3;
  driver.pName = const_cast<char*>(driverName);
  driver.pDriverPath = const_cast<char*>(file.c_str());
  driver.pDataFile = const_cast<char*>(file.c_str());
  driver.pConfigFile = const_cast<char*>(file.c_str());
  if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE*>(&driver))) {
    return "AddPrinterDriverA " + std::to_string(GetLastError());
  }
  PRINTER_INFO_2A info = {};
  info.pPrinterName = const_cast<char*>(queue);
  info.pPortName = const_cast<char*>(port);
  info.pDriverName = const_cast<char*>(driverName);
  info.pPrintProcessor = const_cast<char*>("winprint");
  info.pDatatype = const_cast<char*>("RAW");
  info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
  HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE*>(&info));
  if (!printer) return "AddPrinterA " + std::to_string(GetLastError());
  ClosePrinter(printer);
  return {};
}
