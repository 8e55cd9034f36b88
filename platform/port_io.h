// Reading I/O ports: the operating system family, a device opened by path with device control
// requests, and (Windows 9x only) the processor's port input instruction.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "handles.h"

constexpr std::uint32_t kVerPlatformWin32Windows = 1;
constexpr std::uint32_t kVerPlatformWin32Nt = 2;

class IPortIo {
 public:
  virtual ~IPortIo() = default;
  // GetVersionExA with a record whose size field is `recordSize` (156 extended, 148 basic).
  // Returns false when the call fails, else true with *platformId = dwPlatformId.
  virtual bool GetVersion(std::uint32_t recordSize, std::uint32_t* platformId) = 0;

  // CreateFileA(path, read | write, no sharing, open existing, normal attributes).
  // kInvalidHandle when it fails.
  virtual DeviceHandle OpenDevice(const std::string& path) = 0;
  virtual void CloseDevice(DeviceHandle device) = 0;
  // DeviceIoControl. Returns false when the request fails.
  virtual bool Control(DeviceHandle device, std::uint32_t code, const void* in, std::size_t inSize,
                       void* out, std::size_t outSize, std::uint32_t* returned) = 0;
  // The processor's IN instruction (only allowed on the Windows 9x family).
  virtual std::uint8_t InputByte(std::uint16_t port) = 0;
};
