// A small reader of 32-bit PE images for checking the built Windows artefacts on the host:
// headers, sections, imports, relocations, the header checksum and the resource tree.
// Every read is bounds-checked; a malformed image raises FormatError.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace artifacts {

using Bytes = std::vector<std::uint8_t>;

struct FormatError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

Bytes ReadFileBytes(const std::string& path);  // throws FormatError when unreadable

// Bounds-checked little-endian view of a byte range.
class View {
public:
    View(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    explicit View(const Bytes& bytes) : View(bytes.data(), bytes.size()) {}

    std::size_t size() const { return size_; }
    const std::uint8_t* data() const { return data_; }
    std::uint8_t u8(std::size_t offset) const;
    std::uint16_t u16(std::size_t offset) const;
    std::uint32_t u32(std::size_t offset) const;
    View sub(std::size_t offset, std::size_t length) const;
    std::string text(std::size_t offset, std::size_t length) const;  // raw bytes as chars
    Bytes bytes() const { return Bytes(data_, data_ + size_); }

private:
    void need(std::size_t offset, std::size_t length) const;
    const std::uint8_t* data_;
    std::size_t size_;
};

// The standard PE checksum: 16-bit one's-complement-style sum of the file with the checksum
// field taken as zero, folded to 16 bits, plus the file length. `checksumOffset` is the file
// offset of the optional header's CheckSum field.
std::uint32_t ComputePeChecksum(const Bytes& file, std::size_t checksumOffset);

// A resource name or type: an integer id or a string (compared without letter case).
using ResourceKey = std::variant<std::uint16_t, std::string>;

struct Section {
    std::string name;
    std::uint32_t virtualAddress = 0;
    std::uint32_t virtualSize = 0;
    std::uint32_t rawOffset = 0;
    std::uint32_t rawSize = 0;
};

class PeImage {
public:
    explicit PeImage(Bytes file);  // throws FormatError when the headers are not a PE32 image

    static constexpr int kExportDirectory = 0;
    static constexpr int kImportDirectory = 1;
    static constexpr int kResourceDirectory = 2;
    static constexpr int kRelocationDirectory = 5;

    const Bytes& file() const { return file_; }
    std::uint16_t machine() const { return machine_; }
    std::uint16_t characteristics() const { return characteristics_; }
    std::uint16_t optionalMagic() const { return magic_; }
    std::uint16_t subsystem() const { return subsystem_; }
    std::uint32_t entryPoint() const { return entryPoint_; }
    std::uint32_t storedChecksum() const { return storedChecksum_; }
    std::size_t checksumOffset() const { return checksumOffset_; }
    const std::vector<Section>& sections() const { return sections_; }

    struct Directory {
        std::uint32_t rva = 0;
        std::uint32_t size = 0;
    };
    Directory directory(int index) const;

    // View of `length` bytes of the image at the relative virtual address, from the file.
    View at(std::uint32_t rva, std::size_t length) const;

    struct Import {
        std::string dll;
        std::vector<std::string> functions;  // by name; ordinals as "#n"
    };
    std::vector<Import> imports() const;

    // Number of fixups in the base relocation directory.
    std::size_t relocationCount() const;

    // Data of the resource type/name, first language; nullopt when absent.
    std::optional<Bytes> resource(const ResourceKey& type, const ResourceKey& name) const;
    // Ids or names present under a resource type.
    std::vector<ResourceKey> resourceNames(const ResourceKey& type) const;

private:
    struct ResEntry {
        ResourceKey key;
        bool isDirectory;
        std::uint32_t offset;  // within the resource section
    };
    std::vector<ResEntry> resourceDirectory(std::uint32_t offset) const;
    std::optional<ResEntry> findEntry(std::uint32_t directoryOffset, const ResourceKey& key) const;
    std::string cString(std::uint32_t rva) const;

    Bytes file_;
    std::uint16_t machine_ = 0;
    std::uint16_t characteristics_ = 0;
    std::uint16_t magic_ = 0;
    std::uint16_t subsystem_ = 0;
    std::uint32_t entryPoint_ = 0;
    std::uint32_t storedChecksum_ = 0;
    std::size_t checksumOffset_ = 0;
    std::vector<Directory> directories_;
    std::vector<Section> sections_;
};

bool SameKey(const ResourceKey& a, const ResourceKey& b);
std::string KeyText(const ResourceKey& key);

}  // namespace artifacts
