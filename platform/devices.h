// Device interface enumeration and device-change notification registration.
#pragma once

#include <cstdint>
#include <string>

#include "handles.h"

struct Guid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

// GUID_DEVINTERFACE_USBPRINT {28D78FAD-5A12-11D1-AE5B-0000F803A8C2}
constexpr Guid kGuidDevInterfaceUsbPrint = {
    0x28D78FAD, 0x5A12, 0x11D1, {0xAE, 0x5B, 0x00, 0x00, 0xF8, 0x03, 0xA8, 0xC2}};
// GUID_DEVINTERFACE_USB_DEVICE {A5DCBF10-6530-11D2-901F-00C04FB951ED}
constexpr Guid kGuidDevInterfaceUsbDevice = {
    0xA5DCBF10, 0x6530, 0x11D2, {0x90, 0x1F, 0x00, 0xC0, 0x4F, 0xB9, 0x51, 0xED}};

using DeviceInfoSet = PlatformHandle;  // HDEVINFO; kInvalidHandle when it could not be made

class IDevices {
 public:
  virtual ~IDevices() = default;

  // SetupDiGetClassDevsA(class, no enumerator, no window, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE).
  virtual DeviceInfoSet GetPresentInterfaces(const Guid& interfaceClass) = 0;
  // SetupDiEnumDeviceInterfaces for member `index`, then its device path through
  // SetupDiGetDeviceInterfaceDetailA (size query, then the detail into a buffer of that size).
  // Returns 0 with *path filled; the enumeration's error code (259 past the last member) when
  // the member cannot be had; or kDetailFailed when the member exists but its path cannot be read.
  static constexpr std::uint32_t kDetailFailed = 0xFFFFFFFF;
  virtual std::uint32_t GetInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                         std::uint32_t index, std::string* path) = 0;
  virtual void DestroySet(DeviceInfoSet set) = 0;

  // RegisterDeviceNotificationA for `window` with a DEV_BROADCAST_DEVICEINTERFACE_A filter of
  // the given class (DEVICE_NOTIFY_WINDOW_HANDLE). kNoHandle on failure.
  virtual NotifyHandle RegisterInterfaceNotification(WindowHandle window,
                                                     const Guid& interfaceClass) = 0;
  virtual void UnregisterNotification(NotifyHandle handle) = 0;
};
