#pragma once

#include "platform/registry.h"

// IRegistry over RegOpenKeyExA, RegQueryValueExA and RegCloseKey.
class Win32Registry : public IRegistry {
 public:
  std::uint32_t OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                        RegKeyHandle* key) override;
  std::uint32_t QueryValue(RegKeyHandle key, const std::string& name, std::uint32_t* type,
                           void* data, std::uint32_t* size) override;
  void CloseKey(RegKeyHandle key) override;
};
