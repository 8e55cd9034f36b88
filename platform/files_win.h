#pragma once

#include "platform/files.h"

// IFileSystem over GetSystemDirectoryA and CreateFileA (CREATE_ALWAYS) / WriteFile.
class Win32FileSystem : public IFileSystem {
 public:
  std::string SystemDirectory() override;
  bool WriteNewFile(const std::string& path, const void* data, std::size_t size) override;
};

// IResources over FindResourceA / SizeofResource / LoadResource / LockResource in the
// program's own module.
class Win32Resources : public IResources {
 public:
  ResourceBytes Find(const char* type, std::uint32_t id) override;
};
