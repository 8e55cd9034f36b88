// The service control manager, for installing and starting a kernel driver service.
#pragma once

#include <cstdint>
#include <string>

#include "handles.h"

// <windows.h> defines these names as macros for its ANSI and wide functions; here they are
// member names. Win32 code includes <windows.h> before this header.
#undef OpenService
#undef StartService
#undef CreateService

constexpr std::uint32_t kScManagerAllAccess = 0xF003F;
constexpr std::uint32_t kGenericRead = 0x80000000;
constexpr std::uint32_t kGenericExecute = 0x20000000;
constexpr std::uint32_t kServiceAllAccess = 0xF01FF;
constexpr std::uint32_t kServiceKernelDriver = 1;
constexpr std::uint32_t kServiceSystemStart = 1;
constexpr std::uint32_t kServiceErrorNormal = 1;

struct ServiceConfig {
  std::string name;
  std::string displayName;
  std::uint32_t desiredAccess = 0;
  std::uint32_t serviceType = 0;
  std::uint32_t startType = 0;
  std::uint32_t errorControl = 0;
  std::string imagePath;
};

class IServices {
 public:
  virtual ~IServices() = default;
  // Each call returns kNoHandle (or false) on failure and leaves the error for LastError().
  virtual ServiceHandle OpenManager(std::uint32_t access) = 0;
  virtual ServiceHandle OpenService(ServiceHandle manager, const std::string& name,
                                    std::uint32_t access) = 0;
  virtual bool StartService(ServiceHandle service) = 0;
  virtual ServiceHandle CreateService(ServiceHandle manager, const ServiceConfig& config) = 0;
  virtual void CloseServiceHandle(ServiceHandle handle) = 0;
  virtual std::uint32_t LastError() = 0;
};
