#include "platform/port_io_win.h"

#include <windows.h>

#include "platform/win32_handles.h"

bool Win32PortIo::GetVersion(std::uint32_t recordSize, std::uint32_t* platformId) {
  // The record is always the extended one; the size field tells the system how much of it to
  // fill. A size beyond the record would let the system write past it.
  OSVERSIONINFOEXA record{};
  if (recordSize > sizeof record || recordSize < sizeof(OSVERSIONINFOA)) return false;
  record.dwOSVersionInfoSize = recordSize;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const BOOL ok = ::GetVersionExA(reinterpret_cast<OSVERSIONINFOA*>(&record));
#pragma GCC diagnostic pop
  if (!ok) return false;
  *platformId = record.dwPlatformId;
  return true;
}

DeviceHandle Win32PortIo::OpenDevice(const std::string& path) {
  HANDLE device = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (device == INVALID_HANDLE_VALUE) return kInvalidHandle;
  return ToPlatform(device);
}

void Win32PortIo::CloseDevice(DeviceHandle device) {
  if (device == kInvalidHandle || device == kNoHandle) return;
  ::CloseHandle(FromPlatform<HANDLE>(device));
}

bool Win32PortIo::Control(DeviceHandle device, std::uint32_t code, const void* in,
                          std::size_t inSize, void* out, std::size_t outSize,
                          std::uint32_t* returned) {
  DWORD bytes = 0;
  const BOOL ok = ::DeviceIoControl(
      device == kInvalidHandle ? INVALID_HANDLE_VALUE : FromPlatform<HANDLE>(device), code,
      const_cast<void*>(in), static_cast<DWORD>(inSize), out, static_cast<DWORD>(outSize),
      &bytes, nullptr);
  if (returned != nullptr) *returned = bytes;
  return ok != FALSE;
}

std::uint8_t Win32PortIo::InputByte(std::uint16_t port) {
  std::uint8_t value;
  __asm__ __volatile__("inb %w1, %b0" : "=a"(value) : "Nd"(port));
  return value;
}
