#include "platform/registry_win.h"

#include "platform/win32_handles.h"

std::uint32_t Win32Registry::OpenKey(RegistryRoot root, const std::string& path,
                                     std::uint32_t access, RegKeyHandle* key) {
  HKEY base = root == RegistryRoot::kLocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
  HKEY opened = nullptr;
  const LONG error = ::RegOpenKeyExA(base, path.c_str(), 0, access, &opened);
  if (error == ERROR_SUCCESS) *key = ToPlatform(opened);
  return static_cast<std::uint32_t>(error);
}

std::uint32_t Win32Registry::QueryValue(RegKeyHandle key, const std::string& name,
                                        std::uint32_t* type, void* data, std::uint32_t* size) {
  DWORD valueType = 0;
  DWORD valueSize = size != nullptr ? *size : 0;
  const LONG error = ::RegQueryValueExA(FromPlatform<HKEY>(key), name.c_str(), nullptr,
                                        &valueType, static_cast<LPBYTE>(data),
                                        size != nullptr ? &valueSize : nullptr);
  if (type != nullptr) *type = valueType;
  if (size != nullptr) *size = valueSize;
  return static_cast<std::uint32_t>(error);
}

void Win32Registry::CloseKey(RegKeyHandle key) { ::RegCloseKey(FromPlatform<HKEY>(key)); }
