// Whether the model's USB printer is plugged in: the start-up scan of the present USB printer
// interfaces and the arrival / removal notifications of USB device interfaces.
#include "monitor/usb_presence.h"

#include <cstring>

#include "common/model_table.h"
#include "monitor/status_window.h"

namespace {

// Layout of DEV_BROADCAST_HDR / DEV_BROADCAST_DEVICEINTERFACE_A.
constexpr std::size_t kOffsetSize = 0;        // dbch_size
constexpr std::size_t kOffsetDeviceType = 4;  // dbch_devicetype
constexpr std::size_t kOffsetName = 28;       // dbcc_name, after reserved and dbcc_classguid

// The "\\?\" in front of every interface name of a notification.
constexpr std::size_t kNotificationNamePrefixLength = 4;

// The start-up scan skips members whose enumeration fails with anything but
// ERROR_NO_MORE_ITEMS. Some platforms never report ERROR_NO_MORE_ITEMS (Wine answers every index
// of an empty set with ERROR_FILE_NOT_FOUND), so the skipping is bounded: a run of this many
// failed indices in a row is taken as the end of the set. A member that exists is followed by
// the next one at the next index, so a real set never has such a run. The hard cap on indices
// also ends a scan that keeps delivering members whose path cannot be read.
constexpr std::uint32_t kMaxConsecutiveEnumFailures = 8;
constexpr std::uint32_t kMaxInterfaceIndex = 1024;

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

std::uint32_t ReadU32(const std::uint8_t* bytes, std::size_t offset) {
  std::uint32_t value;
  std::memcpy(&value, bytes + offset, sizeof value);
  return value;  // little-endian on every target of this program
}

}  // namespace

bool IsPrinterInterfacePath(const std::string& path, const std::string& serial) {
  // A path that does not fit the 256-byte path buffer cannot be the printer's.
  if (path.size() >= kDevicePathBufferSize) return false;
  const std::string expected =
      std::string(UsbInterfacePathPrefix) + serial + UsbPrintClassSuffix;
  // Nor can anything match an expected path too long for its own 150-byte buffer.
  if (expected.size() >= kExpectedPathBufferSize) return false;
  return path == expected;
}

bool IsPrinterNotificationName(const std::string& name, const std::string& serial) {
  if (name.size() < kNotificationNamePrefixLength) return false;
  std::string identity = name.substr(kNotificationNamePrefixLength);
  const std::size_t classPart = identity.rfind('#');
  if (classPart == std::string::npos) return false;
  identity.resize(classPart);
  return EqualIgnoringCase(identity, std::string(UsbIdPrefix) + serial);
}

std::optional<std::string> DeviceInterfaceName(const void* record) {
  if (record == nullptr) return std::nullopt;
  const auto* bytes = static_cast<const std::uint8_t*>(record);
  const std::uint32_t size = ReadU32(bytes, kOffsetSize);
  // Below the fixed part there is no device type worth reading, let alone a name.
  if (size < kOffsetName) return std::nullopt;
  if (ReadU32(bytes, kOffsetDeviceType) != kDbtDevtypDeviceInterface) return std::nullopt;
  const char* name = reinterpret_cast<const char*>(bytes + kOffsetName);
  const std::size_t room = size - kOffsetName;
  const void* end = std::memchr(name, '\0', room);
  if (end == nullptr) return std::nullopt;
  return std::string(name, static_cast<const char*>(end) - name);
}

void StatusWindow::CheckUsbPrinterPresence() {
  const std::string serial = UsbSerialNumber[kModelRow];
  const DeviceInfoSet set = p_.devices->GetPresentInterfaces(kGuidDevInterfaceUsbPrint);
  if (set == kInvalidHandle || set == kNoHandle) return;

  std::uint32_t failuresInARow = 0;
  for (std::uint32_t index = 0; index < kMaxInterfaceIndex; ++index) {
    std::string path;
    const std::uint32_t result =
        p_.devices->GetInterfacePath(set, kGuidDevInterfaceUsbPrint, index, &path);
    if (result == win_error::kNoMoreItems) break;
    if (result == IDevices::kDetailFailed) {
      failuresInARow = 0;  // the member exists; only its path is unreadable
      continue;
    }
    if (result != win_error::kSuccess) {
      if (++failuresInARow >= kMaxConsecutiveEnumFailures) break;
      continue;
    }
    failuresInARow = 0;
    if (IsPrinterInterfacePath(path, serial)) {
      UsbPresent = true;
      break;
    }
  }
  p_.devices->DestroySet(set);
}

void StatusWindow::RegisterUsbNotification() {
  // One registration at a time: a repeated call replaces the earlier one.
  if (DeviceNotifyHandle != kNoHandle) p_.devices->UnregisterNotification(DeviceNotifyHandle);
  DeviceNotifyHandle =
      p_.devices->RegisterInterfaceNotification(p_.view->MainWindow(), kGuidDevInterfaceUsbDevice);
}

void StatusWindow::OnDeviceChange(std::uintptr_t eventType, const void* record) {
  if (eventType != kDbtDeviceArrival && eventType != kDbtDeviceRemoveComplete) return;
  const std::optional<std::string> name = DeviceInterfaceName(record);
  if (!name || !IsPrinterNotificationName(*name, UsbSerialNumber[kModelRow])) return;
  UsbPresent = eventType == kDbtDeviceArrival;
}
