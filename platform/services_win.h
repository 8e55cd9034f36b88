#pragma once

#include "platform/services.h"

// IServices over the service control manager (OpenSCManagerA, OpenServiceA, StartServiceA,
// CreateServiceA, CloseServiceHandle); LastError is GetLastError() of the last failed call.
class Win32Services : public IServices {
 public:
  ServiceHandle OpenManager(std::uint32_t access) override;
  ServiceHandle OpenService(ServiceHandle manager, const std::string& name,
                            std::uint32_t access) override;
  bool StartService(ServiceHandle service) override;
  ServiceHandle CreateService(ServiceHandle manager, const ServiceConfig& config) override;
  void CloseServiceHandle(ServiceHandle handle) override;
  std::uint32_t LastError() override { return lastError_; }

 private:
  std::uint32_t lastError_ = 0;
};
