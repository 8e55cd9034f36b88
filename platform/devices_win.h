#pragma once

#include "platform/devices.h"

// IDevices over SetupDiGetClassDevsA / SetupDiEnumDeviceInterfaces /
// SetupDiGetDeviceInterfaceDetailA / SetupDiDestroyDeviceInfoList and
// RegisterDeviceNotificationA / UnregisterDeviceNotification.
class Win32Devices : public IDevices {
 public:
  DeviceInfoSet GetPresentInterfaces(const Guid& interfaceClass) override;
  std::uint32_t GetInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                 std::uint32_t index, std::string* path) override;
  void DestroySet(DeviceInfoSet set) override;
  NotifyHandle RegisterInterfaceNotification(WindowHandle window,
                                             const Guid& interfaceClass) override;
  void UnregisterNotification(NotifyHandle handle) override;
};
