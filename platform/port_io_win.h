#pragma once

#include "platform/port_io.h"

// IPortIo over GetVersionExA, CreateFileA / CloseHandle / DeviceIoControl and the processor's
// port input instruction.
class Win32PortIo : public IPortIo {
 public:
  bool GetVersion(std::uint32_t recordSize, std::uint32_t* platformId) override;
  DeviceHandle OpenDevice(const std::string& path) override;
  void CloseDevice(DeviceHandle device) override;
  bool Control(DeviceHandle device, std::uint32_t code, const void* in, std::size_t inSize,
               void* out, std::size_t outSize, std::uint32_t* returned) override;
  std::uint8_t InputByte(std::uint16_t port) override;
};
