#include "tests/artifacts/pe_image.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>

namespace artifacts {

Bytes ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw FormatError("cannot open " + path);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void View::need(std::size_t offset, std::size_t length) const
{
    if (offset > size_ || length > size_ - offset)
        throw FormatError("read of " + std::to_string(length) + " bytes at " +
                          std::to_string(offset) + " beyond " + std::to_string(size_));
}

std::uint8_t View::u8(std::size_t offset) const
{
    need(offset, 1);
    return data_[offset];
}

std::uint16_t View::u16(std::size_t offset) const
{
    need(offset, 2);
    return static_cast<std::uint16_t>(data_[offset] | (data_[offset + 1] << 8));
}

std::uint32_t View::u32(std::size_t offset) const
{
    need(offset, 4);
    return static_cast<std::uint32_t>(data_[offset]) |
           (static_cast<std::uint32_t>(data_[offset + 1]) << 8) |
           (static_cast<std::uint32_t>(data_[offset + 2]) << 16) |
           (static_cast<std::uint32_t>(data_[offset + 3]) << 24);
}

View View::sub(std::size_t offset, std::size_t length) const
{
    need(offset, length);
    return View(data_ + offset, length);
}

std::string View::text(std::size_t offset, std::size_t length) const
{
    need(offset, length);
    return std::string(reinterpret_cast<const char*>(data_ + offset), length);
}

std::uint32_t ComputePeChecksum(const Bytes& file, std::size_t checksumOffset)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < file.size(); i += 2) {
        if (i >= checksumOffset && i < checksumOffset + 4)
            continue;
        std::uint32_t word = file[i];
        if (i + 1 < file.size())
            word |= static_cast<std::uint32_t>(file[i + 1]) << 8;
        sum += word;
        sum = (sum & 0xFFFF) + (sum >> 16);
    }
    sum = (sum & 0xFFFF) + (sum >> 16);
    return static_cast<std::uint32_t>(sum + file.size());
}

PeImage::PeImage(Bytes file) : file_(std::move(file))
{
    View v(file_);
    if (v.text(0, 2) != "MZ")
        throw FormatError("no MZ header");
    const std::uint32_t pe = v.u32(0x3C);
    if (v.text(pe, 4) != std::string("PE\0\0", 4))
        throw FormatError("no PE signature");
    const std::size_t coff = pe + 4;
    machine_ = v.u16(coff);
    const std::uint16_t sectionCount = v.u16(coff + 2);
    const std::uint16_t optionalSize = v.u16(coff + 16);
    characteristics_ = v.u16(coff + 18);
    const std::size_t opt = coff + 20;
    magic_ = v.u16(opt);
    if (magic_ != 0x10B)
        throw FormatError("not a PE32 optional header");
    entryPoint_ = v.u32(opt + 16);
    checksumOffset_ = opt + 64;
    storedChecksum_ = v.u32(checksumOffset_);
    subsystem_ = v.u16(opt + 68);
    const std::uint32_t directoryCount = v.u32(opt + 92);
    if (96 + 8ull * directoryCount > optionalSize)
        throw FormatError("data directories beyond the optional header");
    for (std::uint32_t i = 0; i < directoryCount; ++i)
        directories_.push_back({v.u32(opt + 96 + 8 * i), v.u32(opt + 100 + 8 * i)});
    const std::size_t table = opt + optionalSize;
    for (std::uint16_t i = 0; i < sectionCount; ++i) {
        const std::size_t s = table + 40u * i;
        Section sec;
        sec.name = v.text(s, 8);
        sec.name.erase(std::find(sec.name.begin(), sec.name.end(), '\0'), sec.name.end());
        sec.virtualSize = v.u32(s + 8);
        sec.virtualAddress = v.u32(s + 12);
        sec.rawSize = v.u32(s + 16);
        sec.rawOffset = v.u32(s + 20);
        sections_.push_back(sec);
    }
}

PeImage::Directory PeImage::directory(int index) const
{
    if (index < 0 || static_cast<std::size_t>(index) >= directories_.size())
        return {};
    return directories_[index];
}

View PeImage::at(std::uint32_t rva, std::size_t length) const
{
    for (const Section& s : sections_) {
        const std::uint32_t span = std::max(s.virtualSize, s.rawSize);
        if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
            const std::uint32_t inSection = rva - s.virtualAddress;
            if (inSection > s.rawSize || length > s.rawSize - inSection)
                throw FormatError("range not backed by file data");
            return View(file_).sub(s.rawOffset + inSection, length);
        }
    }
    throw FormatError("address outside every section");
}

std::string PeImage::cString(std::uint32_t rva) const
{
    std::string out;
    for (std::uint32_t i = 0; i < 4096; ++i) {
        const char c = static_cast<char>(at(rva + i, 1).u8(0));
        if (c == '\0')
            return out;
        out += c;
    }
    throw FormatError("unterminated name");
}

std::vector<PeImage::Import> PeImage::imports() const
{
    std::vector<Import> out;
    const Directory dir = directory(kImportDirectory);
    if (dir.rva == 0)
        return out;
    for (std::uint32_t d = dir.rva;; d += 20) {
        View desc = at(d, 20);
        const std::uint32_t lookup = desc.u32(0) ? desc.u32(0) : desc.u32(16);
        const std::uint32_t name = desc.u32(12);
        if (lookup == 0 && name == 0)
            break;
        Import imp;
        imp.dll = cString(name);
        for (std::uint32_t t = lookup;; t += 4) {
            const std::uint32_t entry = at(t, 4).u32(0);
            if (entry == 0)
                break;
            if (entry & 0x80000000u)
                imp.functions.push_back("#" + std::to_string(entry & 0xFFFF));
            else
                imp.functions.push_back(cString(entry + 2));
            if (imp.functions.size() > 10000)
                throw FormatError("unterminated import table");
        }
        out.push_back(imp);
        if (out.size() > 1000)
            throw FormatError("unterminated import directory");
    }
    return out;
}

std::size_t PeImage::relocationCount() const
{
    const Directory dir = directory(kRelocationDirectory);
    if (dir.rva == 0 || dir.size == 0)
        return 0;
    View relocs = at(dir.rva, dir.size);
    std::size_t count = 0;
    for (std::size_t off = 0; off + 8 <= relocs.size();) {
        const std::uint32_t blockSize = relocs.u32(off + 4);
        if (blockSize < 8 || blockSize > relocs.size() - off)
            throw FormatError("bad relocation block");
        for (std::size_t e = off + 8; e + 2 <= off + blockSize; e += 2)
            if ((relocs.u16(e) >> 12) != 0)  // type 0 entries are padding
                ++count;
        off += blockSize;
    }
    return count;
}

bool SameKey(const ResourceKey& a, const ResourceKey& b)
{
    if (a.index() != b.index())
        return false;
    if (std::holds_alternative<std::uint16_t>(a))
        return std::get<std::uint16_t>(a) == std::get<std::uint16_t>(b);
    const std::string& x = std::get<std::string>(a);
    const std::string& y = std::get<std::string>(b);
    return x.size() == y.size() &&
           std::equal(x.begin(), x.end(), y.begin(), [](char p, char q) {
               return std::toupper(static_cast<unsigned char>(p)) ==
                      std::toupper(static_cast<unsigned char>(q));
           });
}

std::string KeyText(const ResourceKey& key)
{
    if (std::holds_alternative<std::uint16_t>(key))
        return std::to_string(std::get<std::uint16_t>(key));
    return "\"" + std::get<std::string>(key) + "\"";
}

std::vector<PeImage::ResEntry> PeImage::resourceDirectory(std::uint32_t offset) const
{
    const Directory root = directory(kResourceDirectory);
    View res = at(root.rva, root.size);
    const std::size_t count = res.u16(offset + 12) + res.u16(offset + 14);
    std::vector<ResEntry> out;
    for (std::size_t i = 0; i < count; ++i) {
        const std::size_t e = offset + 16 + 8 * i;
        const std::uint32_t name = res.u32(e);
        const std::uint32_t data = res.u32(e + 4);
        ResEntry entry{std::uint16_t{0}, (data & 0x80000000u) != 0, data & 0x7FFFFFFFu};
        if (name & 0x80000000u) {
            const std::uint32_t at = name & 0x7FFFFFFFu;
            const std::uint16_t length = res.u16(at);
            std::string text;
            for (std::uint16_t k = 0; k < length; ++k) {
                const std::uint16_t ch = res.u16(at + 2 + 2u * k);
                text += ch < 0x80 ? static_cast<char>(ch) : '?';
            }
            entry.key = text;
        } else {
            entry.key = static_cast<std::uint16_t>(name & 0xFFFF);
        }
        out.push_back(entry);
    }
    return out;
}

std::optional<PeImage::ResEntry> PeImage::findEntry(std::uint32_t directoryOffset,
                                                     const ResourceKey& key) const
{
    for (const ResEntry& e : resourceDirectory(directoryOffset))
        if (SameKey(e.key, key))
            return e;
    return std::nullopt;
}

std::optional<Bytes> PeImage::resource(const ResourceKey& type, const ResourceKey& name) const
{
    if (directory(kResourceDirectory).rva == 0)
        return std::nullopt;
    auto typeEntry = findEntry(0, type);
    if (!typeEntry || !typeEntry->isDirectory)
        return std::nullopt;
    auto nameEntry = findEntry(typeEntry->offset, name);
    if (!nameEntry || !nameEntry->isDirectory)
        return std::nullopt;
    auto languages = resourceDirectory(nameEntry->offset);
    if (languages.empty() || languages.front().isDirectory)
        return std::nullopt;
    const Directory root = directory(kResourceDirectory);
    View leaf = at(root.rva, root.size).sub(languages.front().offset, 16);
    return at(leaf.u32(0), leaf.u32(4)).bytes();
}

std::vector<ResourceKey> PeImage::resourceNames(const ResourceKey& type) const
{
    std::vector<ResourceKey> out;
    if (directory(kResourceDirectory).rva == 0)
        return out;
    auto typeEntry = findEntry(0, type);
    if (!typeEntry || !typeEntry->isDirectory)
        return out;
    for (const ResEntry& e : resourceDirectory(typeEntry->offset))
        out.push_back(e.key);
    return out;
}

}  // namespace artifacts
