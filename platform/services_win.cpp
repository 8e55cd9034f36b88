#include <windows.h>
#include <winsvc.h>

#include "platform/services_win.h"

#include "platform/win32_handles.h"

ServiceHandle Win32Services::OpenManager(std::uint32_t access) {
  SC_HANDLE manager = ::OpenSCManagerA(nullptr, nullptr, access);
  if (manager == nullptr) lastError_ = ::GetLastError();
  return ToPlatform(manager);
}

ServiceHandle Win32Services::OpenService(ServiceHandle manager, const std::string& name,
                                         std::uint32_t access) {
  SC_HANDLE service = ::OpenServiceA(FromPlatform<SC_HANDLE>(manager), name.c_str(), access);
  if (service == nullptr) lastError_ = ::GetLastError();
  return ToPlatform(service);
}

bool Win32Services::StartService(ServiceHandle service) {
  if (::StartServiceA(FromPlatform<SC_HANDLE>(service), 0, nullptr)) return true;
  lastError_ = ::GetLastError();
  return false;
}

ServiceHandle Win32Services::CreateService(ServiceHandle manager, const ServiceConfig& config) {
  SC_HANDLE service = ::CreateServiceA(
      FromPlatform<SC_HANDLE>(manager), config.name.c_str(), config.displayName.c_str(),
      config.desiredAccess, config.serviceType, config.startType, config.errorControl,
      config.imagePath.c_str(), nullptr, nullptr, nullptr, nullptr, nullptr);
  if (service == nullptr) lastError_ = ::GetLastError();
  return ToPlatform(service);
}

void Win32Services::CloseServiceHandle(ServiceHandle handle) {
  ::CloseServiceHandle(FromPlatform<SC_HANDLE>(handle));
}
