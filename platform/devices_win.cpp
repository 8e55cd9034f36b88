#include "platform/devices_win.h"

#include <windows.h>
#include <setupapi.h>
#include <dbt.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <new>

#include "platform/win32_handles.h"

namespace {

GUID ToGuid(const Guid& g) {
  GUID guid;
  guid.Data1 = g.data1;
  guid.Data2 = g.data2;
  guid.Data3 = g.data3;
  std::memcpy(guid.Data4, g.data4, sizeof guid.Data4);
  return guid;
}

HDEVINFO ToSet(DeviceInfoSet set) {
  return set == kInvalidHandle ? INVALID_HANDLE_VALUE : FromPlatform<HDEVINFO>(set);
}

// The filter record as the notification registration takes it: 32 bytes on 32-bit Windows.
static_assert(sizeof(void*) != 4 || sizeof(DEV_BROADCAST_DEVICEINTERFACE_A) == 32,
              "DEV_BROADCAST_DEVICEINTERFACE_A is 32 bytes");
// SP_DEVICE_INTERFACE_DATA is 28 bytes and the fixed part of the detail record 5 bytes there.
static_assert(sizeof(void*) != 4 || sizeof(SP_DEVICE_INTERFACE_DATA) == 28, "interface record");
static_assert(sizeof(void*) != 4 || sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A) == 5,
              "detail record");

}  // namespace

DeviceInfoSet Win32Devices::GetPresentInterfaces(const Guid& interfaceClass) {
  const GUID guid = ToGuid(interfaceClass);
  HDEVINFO set =
      ::SetupDiGetClassDevsA(&guid, nullptr, nullptr, DIGCF_PRESENT | DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return kInvalidHandle;
  return ToPlatform(set);
}

std::uint32_t Win32Devices::GetInterfacePath(DeviceInfoSet set, const Guid& interfaceClass,
                                             std::uint32_t index, std::string* path) {
  const GUID guid = ToGuid(interfaceClass);
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  if (!::SetupDiEnumDeviceInterfaces(ToSet(set), nullptr, &guid, index, &data)) {
    return ::GetLastError();
  }
  DWORD needed = 0;
  ::SetupDiGetDeviceInterfaceDetailA(ToSet(set), &data, nullptr, 0, &needed, nullptr);
  if (needed < sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A)) return kDetailFailed;

  std::unique_ptr<std::uint8_t[]> buffer(new (std::nothrow) std::uint8_t[needed + 1]());
  if (!buffer) return kDetailFailed;
  auto* detail = reinterpret_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_A*>(buffer.get());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_A);
  if (!::SetupDiGetDeviceInterfaceDetailA(ToSet(set), &data, detail, needed, nullptr, nullptr)) {
    return kDetailFailed;
  }
  // The path runs to its NUL within the record; the extra zero byte ends it in any case.
  const std::size_t offset = offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_A, DevicePath);
  const char* text = reinterpret_cast<const char*>(buffer.get() + offset);
  *path = std::string(text, strnlen(text, needed - offset));
  return 0;
}

void Win32Devices::DestroySet(DeviceInfoSet set) {
  if (set == kInvalidHandle || set == kNoHandle) return;
  ::SetupDiDestroyDeviceInfoList(ToSet(set));
}

NotifyHandle Win32Devices::RegisterInterfaceNotification(WindowHandle window,
                                                         const Guid& interfaceClass) {
  DEV_BROADCAST_DEVICEINTERFACE_A filter{};
  filter.dbcc_size = sizeof filter;
  filter.dbcc_devicetype = DBT_DEVTYP_DEVICEINTERFACE;
  filter.dbcc_reserved = 0;
  filter.dbcc_classguid = ToGuid(interfaceClass);
  filter.dbcc_name[0] = '\0';
  HDEVNOTIFY handle = ::RegisterDeviceNotificationA(FromPlatform<HWND>(window), &filter,
                                                    DEVICE_NOTIFY_WINDOW_HANDLE);
  return ToPlatform(handle);
}

void Win32Devices::UnregisterNotification(NotifyHandle handle) {
  ::UnregisterDeviceNotification(FromPlatform<HDEVNOTIFY>(handle));
}
