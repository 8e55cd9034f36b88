// Whether the model's USB printer is plugged in: a scan of the present USB printer interfaces
// at start-up, then device arrival and removal notifications.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

constexpr std::uint32_t kDbtDeviceArrival = 0x8000;
constexpr std::uint32_t kDbtDeviceRemoveComplete = 0x8004;
constexpr std::uint32_t kDbtDevtypDeviceInterface = 5;
constexpr std::size_t kDevicePathBufferSize = 256;
constexpr std::size_t kExpectedPathBufferSize = 150;

// Exact, case-sensitive: path == UsbInterfacePathPrefix + serial + UsbPrintClassSuffix.
// A path of 256 bytes or more never matches.
bool IsPrinterInterfacePath(const std::string& path, const std::string& serial);
// The name without its first 4 characters, cut at its last "#", equals UsbIdPrefix + serial
// ignoring case. A name without "#" or shorter than the prefix does not match.
bool IsPrinterNotificationName(const std::string& name, const std::string& serial);

// The interface name of a DEV_BROADCAST_DEVICEINTERFACE_A record, read only within the
// record's own dbcc_size. nullopt for a null pointer, a header of another device type, a size
// too small for the fixed part, or a name without its terminating NUL inside the record.
std::optional<std::string> DeviceInterfaceName(const void* record);
