#include "platform/files_win.h"

#include <windows.h>

std::string Win32FileSystem::SystemDirectory() {
  char path[MAX_PATH];  // 260 characters
  const UINT length = ::GetSystemDirectoryA(path, sizeof path);
  if (length == 0 || length >= sizeof path) return {};
  return std::string(path, length);
}

bool Win32FileSystem::WriteNewFile(const std::string& path, const void* data, std::size_t size) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  const BOOL ok = ::WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr);
  ::CloseHandle(file);
  return ok && written == size;
}

ResourceBytes Win32Resources::Find(const char* type, std::uint32_t id) {
  HMODULE module = ::GetModuleHandleA(nullptr);
  HRSRC info = ::FindResourceA(module, MAKEINTRESOURCEA(id), type);
  if (info == nullptr) return {};
  const DWORD size = ::SizeofResource(module, info);
  HGLOBAL loaded = ::LoadResource(module, info);
  if (loaded == nullptr) return {};
  const void* bytes = ::LockResource(loaded);
  if (bytes == nullptr) return {};
  return ResourceBytes{bytes, size};
}
