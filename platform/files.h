// Files and the program's own resources.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class IFileSystem {
 public:
  virtual ~IFileSystem() = default;
  // GetSystemDirectoryA into a 260-character buffer; empty on failure.
  virtual std::string SystemDirectory() = 0;
  // Creates `path` for writing, without sharing, replacing an existing file, and writes the
  // bytes. false when the file cannot be created or written.
  virtual bool WriteNewFile(const std::string& path, const void* data, std::size_t size) = 0;
};

struct ResourceBytes {
  const void* data = nullptr;  // nullptr when the resource is missing
  std::size_t size = 0;
};

class IResources {
 public:
  virtual ~IResources() = default;
  // FindResourceA / LoadResource / LockResource / SizeofResource in the program's own module.
  virtual ResourceBytes Find(const char* type, std::uint32_t id) = 0;
};
