#include "monitor/usb_presence.h"

#include "monitor/status_window.h"

bool IsPrinterInterfacePath(const std::string&, const std::string&) { return false; }
bool IsPrinterNotificationName(const std::string&, const std::string&) { return false; }
std::optional<std::string> DeviceInterfaceName(const void*) { return std::nullopt; }
void StatusWindow::CheckUsbPrinterPresence() {}
void StatusWindow::RegisterUsbNotification() {}
void StatusWindow::OnDeviceChange(std::uintptr_t, const void*) {}
