// Opening the model's printer queue, reading and classifying its port, and noticing when the
// spooler has moved the queue to another port.
#include <cstdio>
#include <cstring>
#include <memory>
#include <new>

#include "common/model_table.h"
#include "monitor/port_access.h"
#include "monitor/status_window.h"

namespace {

// The level-5 record is 20 bytes; the first read offers less to learn the size.
constexpr std::uint32_t kPrinter5ProbeSize = 10;
// Room for the "portName" value: a port name of up to 19 characters and two NULs.
constexpr std::uint32_t kPortNameBufferSize = 21;

const char* LptTagFor(const std::string& portName) {
  if (portName == "LPT1:") return "(LPT1)";
  if (portName == "LPT2:") return "(LPT2)";
  if (portName == "LPT3:") return "(LPT3)";
  return nullptr;
}

}  // namespace

bool StatusWindow::OpenAndResolvePrinter() {
  m_printerDefaults = PrinterDefaults{kPrinterAllAccess};
  if (m_hPrinter != kNoHandle) {
    p_.spooler->ClosePrinter(m_hPrinter);
    m_hPrinter = kNoHandle;
  }
  PrinterHandle printer = kNoHandle;
  if (p_.spooler->OpenPrinter(PrinterName[kModelRow], m_printerDefaults, &printer)) {
    m_hPrinter = printer;
    return ResolvePort();
  }
  m_strAdvice = std::string(PrinterName[kModelRow]) + " not installed.";
  SetHeading("No Printer Found");
  SetAnimation(kIdErrorAnimation);
  PushAdvice();
  return false;
}

bool StatusWindow::ResolvePort() {
  std::uint8_t probe[kPrinter5ProbeSize];
  SpoolerReply reply = p_.spooler->GetPrinter5(m_hPrinter, probe, sizeof probe, nullptr);
  if (reply.ok || reply.error != win_error::kInsufficientBuffer) return false;

  std::printf("Allocating a buffer of size %d", static_cast<int>(reply.needed));
  std::fflush(stdout);
  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[reply.needed]);
  if (!buffer) {
    std::fputs("Can't get memory for new data buffer", stdout);
    std::fflush(stdout);
    return false;
  }
  PrinterInfo5 info;
  reply = p_.spooler->GetPrinter5(m_hPrinter, buffer.get(), reply.needed, &info);
  if (!reply.ok) {
    m_strPortType.clear();
    return false;
  }

  m_strPortName = info.portName;
  m_strPortType = info.portName;
  if (m_strPortName.find("LPT") != std::string::npos) {
    m_strPortType = "LPT";
    g_portAccessMode = GetOsPlatform(*p_.portIo);
    m_nLptStatus = -1;
    if (g_portAccessMode == 2) {
      OpenPortDriver(PortDriverPlatform{p_.portIo, p_.services, p_.files, p_.resources});
    }
    if (const char* tag = LptTagFor(m_strPortName)) LptLabel = tag;
    if (FindPnpDeviceIdByName(*p_.inventory, LptLabel) == 0) {
      if (LocateStatusPort(*p_.registry)) {
        m_nLptTimer = p_.view->SetTimer(kLptStatusTimerId, kLptStatusTimerPeriodMs);
      } else {
        StopStatusTimer();
      }
    }
  } else if (m_strPortName.find("USB") != std::string::npos) {
    m_strPortType = "USB";
    m_nLptStatus = -1;
    StopStatusTimer();
  } else if (m_strPortName.find("COM") != std::string::npos) {
    m_strPortType = "COM";
    m_nLptStatus = -1;
    StopStatusTimer();
  }
  PushAdvice();
  return true;
}

void StatusWindow::StopStatusTimer() {
  if (m_nLptTimer != 0 && p_.view->KillTimer(m_nLptTimer)) m_nLptTimer = 0;
}

bool StatusWindow::PortChanged() {
  const std::string path = std::string("SYSTEM\\CurrentControlSet\\Control\\Print\\Printers\\") +
                           PrinterName[kModelRow] + "\\DsSpooler";
  RegKeyHandle key = kNoHandle;
  // Without full access to the key (no administrative rights) there is nothing to compare:
  // keep monitoring the port already resolved.
  if (p_.registry->OpenKey(RegistryRoot::kLocalMachine, path, kKeyAllAccess, &key) != 0) {
    return false;
  }
  char value[kPortNameBufferSize] = {};
  std::uint32_t size = sizeof value;
  std::uint32_t type = 0;
  const std::uint32_t error = p_.registry->QueryValue(key, "portName", &type, value, &size);
  p_.registry->CloseKey(key);

  std::string registryPort;
  if (error == 0) {
    registryPort.assign(value, strnlen(value, size < sizeof value ? size : sizeof value));
  } else if (error != win_error::kFileNotFound) {
    return false;  // a port name too long for the buffer, or unreadable: no change
  }
  return registryPort != m_strPortName;
}
