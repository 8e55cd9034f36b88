// The registry as the portable code uses it: open, read a value, close.
#pragma once

#include <cstdint>
#include <string>

#include "handles.h"

enum class RegistryRoot { kLocalMachine, kCurrentUser };

constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead = 0x20019;

class IRegistry {
 public:
  virtual ~IRegistry() = default;

  // RegOpenKeyExA. Returns the Win32 error code (0 on success) and the key in *key.
  virtual std::uint32_t OpenKey(RegistryRoot root, const std::string& path, std::uint32_t access,
                                RegKeyHandle* key) = 0;
  // RegQueryValueExA. *size is the room in data on entry and the value's length on return.
  // Returns 0, ERROR_MORE_DATA (234) when the value does not fit, ERROR_FILE_NOT_FOUND (2) when
  // it is missing, or another error code.
  virtual std::uint32_t QueryValue(RegKeyHandle key, const std::string& name,
                                   std::uint32_t* type, void* data, std::uint32_t* size) = 0;
  virtual void CloseKey(RegKeyHandle key) = 0;
};
