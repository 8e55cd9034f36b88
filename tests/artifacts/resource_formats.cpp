#include "tests/artifacts/resource_formats.h"

#include <regex>

namespace artifacts {

namespace {

std::string ZeroTrimmed(const std::string& s)
{
    const std::size_t end = s.find('\0');
    return end == std::string::npos ? s : s.substr(0, end);
}

struct Chunk {
    std::string tag;
    View data;
};

// The chunks of a RIFF chunk list, each padded to an even length.
std::vector<Chunk> Chunks(View list)
{
    std::vector<Chunk> out;
    std::size_t off = 0;
    while (off < list.size()) {
        const std::string tag = list.text(off, 4);
        const std::uint32_t size = list.u32(off + 4);
        out.push_back({tag, list.sub(off + 8, size)});
        off += 8 + size + (size & 1);
        if (off > list.size())  // only a missing final pad byte would land here
            throw FormatError("chunk " + tag + " overruns its list");
    }
    return out;
}

}  // namespace

AniCursor ParseAniCursor(const Bytes& file)
{
    View v(file);
    if (v.text(0, 4) != "RIFF" || v.text(8, 4) != "ACON")
        throw FormatError("not a RIFF ACON file");
    if (v.u32(4) != file.size() - 8)
        throw FormatError("RIFF size " + std::to_string(v.u32(4)) + " does not match the file");
    AniCursor ani;
    for (const Chunk& c : Chunks(v.sub(12, file.size() - 12))) {
        if (c.tag == "anih") {
            if (c.data.size() != 36)
                throw FormatError("anih of " + std::to_string(c.data.size()) + " bytes");
            AniHeader& h = ani.header;
            h.cbSize = c.data.u32(0);
            h.frames = c.data.u32(4);
            h.steps = c.data.u32(8);
            h.width = c.data.u32(12);
            h.height = c.data.u32(16);
            h.bitCount = c.data.u32(20);
            h.planes = c.data.u32(24);
            h.rate = c.data.u32(28);
            h.flags = c.data.u32(32);
            ani.hasHeader = true;
        } else if (c.tag == "LIST") {
            const std::string form = c.data.text(0, 4);
            for (const Chunk& sub : Chunks(c.data.sub(4, c.data.size() - 4))) {
                if (form == "INFO" && sub.tag == "INAM")
                    ani.title = ZeroTrimmed(sub.data.text(0, sub.data.size()));
                else if (form == "INFO" && sub.tag == "IART")
                    ani.author = ZeroTrimmed(sub.data.text(0, sub.data.size()));
                else if (form == "fram" && sub.tag == "icon")
                    ani.frames.push_back(sub.data.bytes());
            }
        }
    }
    return ani;
}

BitmapInfo ParseBitmapInfo(View dib)
{
    BitmapInfo b;
    b.headerSize = dib.u32(0);
    if (b.headerSize < 40)
        throw FormatError("bitmap header of " + std::to_string(b.headerSize) + " bytes");
    b.width = static_cast<std::int32_t>(dib.u32(4));
    b.height = static_cast<std::int32_t>(dib.u32(8));
    b.planes = dib.u16(12);
    b.bitCount = dib.u16(14);
    b.compression = dib.u32(16);
    return b;
}

IconFile ParseIconFile(const Bytes& file)
{
    View v(file);
    if (v.u16(0) != 0)
        throw FormatError("icon file reserved field not 0");
    IconFile f;
    f.type = v.u16(2);
    const std::uint16_t count = v.u16(4);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + 16u * i;
        IconFileEntry entry;
        entry.width = v.u8(e);
        entry.height = v.u8(e + 1);
        entry.colourCount = v.u8(e + 2);
        entry.planesOrHotspotX = v.u16(e + 4);
        entry.bitCountOrHotspotY = v.u16(e + 6);
        entry.bytes = v.u32(e + 8);
        entry.offset = v.u32(e + 12);
        entry.image = ParseBitmapInfo(v.sub(entry.offset, entry.bytes));
        f.entries.push_back(entry);
    }
    return f;
}

std::vector<IconGroupEntry> ParseIconGroup(const Bytes& resource)
{
    View v(resource);
    if (v.u16(0) != 0 || v.u16(2) != 1)
        throw FormatError("not an icon group");
    std::vector<IconGroupEntry> out;
    const std::uint16_t count = v.u16(4);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::size_t e = 6 + 14u * i;
        IconGroupEntry g;
        g.width = v.u8(e);
        g.height = v.u8(e + 1);
        g.colourCount = v.u8(e + 2);
        g.planes = v.u16(e + 4);
        g.bitCount = v.u16(e + 6);
        g.bytes = v.u32(e + 8);
        g.iconId = v.u16(e + 12);
        out.push_back(g);
    }
    return out;
}

namespace {

struct VersionBlock {
    std::string key;
    std::uint16_t type = 0;
    View value{nullptr, 0};
    std::vector<VersionBlock> children;
};

std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// One block of a version record at `off`: length, value length, type, key (UTF-16, zero
// terminated), padding, value, padding, children up to the block's length.
VersionBlock ReadVersionBlock(View v, std::size_t off, int depth)
{
    if (depth > 8)
        throw FormatError("version record nested too deep");
    const std::uint16_t length = v.u16(off);
    const std::uint16_t valueLength = v.u16(off + 2);
    if (length < 6)
        throw FormatError("version block too short");
    View block = v.sub(off, length);
    VersionBlock b;
    b.type = block.u16(4);
    std::size_t pos = 6;
    for (;;) {
        const std::uint16_t ch = block.u16(pos);
        pos += 2;
        if (ch == 0)
            break;
        b.key += ch < 0x80 ? static_cast<char>(ch) : '?';
    }
    pos = Align4(pos);
    const std::size_t valueBytes = b.type == 1 ? 2u * valueLength : valueLength;
    if (pos < length) {
        const std::size_t take = std::min<std::size_t>(valueBytes, length - pos);
        b.value = block.sub(pos, take);
        pos = Align4(pos + take);
    }
    while (pos + 6 <= length) {
        VersionBlock child = ReadVersionBlock(block, pos, depth + 1);
        pos = Align4(pos + block.u16(pos));
        b.children.push_back(std::move(child));
    }
    return b;
}

std::string Utf16Text(View value)
{
    std::string out;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
        const std::uint16_t ch = value.u16(i);
        if (ch == 0)
            break;
        out += ch < 0x80 ? static_cast<char>(ch) : static_cast<char>(ch & 0xFF);
    }
    return out;
}

}  // namespace

VersionRecord ParseVersionRecord(const Bytes& resource)
{
    View v(resource);
    VersionBlock root = ReadVersionBlock(v, 0, 0);
    if (root.key != "VS_VERSION_INFO")
        throw FormatError("version record key is " + root.key);
    VersionRecord r;
    if (root.value.size() >= 52) {
        r.signature = root.value.u32(0);
        r.fileVersionMS = root.value.u32(8);
        r.fileVersionLS = root.value.u32(12);
        r.productVersionMS = root.value.u32(16);
        r.productVersionLS = root.value.u32(20);
    }
    for (const VersionBlock& info : root.children)
        if (info.key == "StringFileInfo")
            for (const VersionBlock& table : info.children)
                for (const VersionBlock& entry : table.children)
                    r.strings[entry.key] = Utf16Text(entry.value);
    return r;
}

namespace {

// A text or an ordinal of a dialog template at `pos`; advances `pos`.
void ReadSzOrOrd(View v, std::size_t& pos, std::string& text, std::uint16_t& ordinal)
{
    const std::uint16_t first = v.u16(pos);
    if (first == 0xFFFF) {
        ordinal = v.u16(pos + 2);
        pos += 4;
        return;
    }
    for (;;) {
        const std::uint16_t ch = v.u16(pos);
        pos += 2;
        if (ch == 0)
            return;
        text += ch < 0x80 ? static_cast<char>(ch) : '?';
    }
}

void SkipSzOrOrd(View v, std::size_t& pos)
{
    std::string text;
    std::uint16_t ordinal = 0;
    ReadSzOrOrd(v, pos, text, ordinal);
}

}  // namespace

DialogTemplate ParseDialogTemplate(const Bytes& resource)
{
    constexpr std::uint32_t kSetFont = 0x40;  // DS_SETFONT (DS_SHELLFONT includes it)
    View v(resource);
    DialogTemplate d;
    d.extended = v.u16(0) == 1 && v.u16(2) == 0xFFFF;
    std::size_t pos;
    std::uint16_t count;
    if (d.extended) {
        d.style = v.u32(12);
        count = v.u16(16);
        d.width = static_cast<std::int16_t>(v.u16(22));
        d.height = static_cast<std::int16_t>(v.u16(24));
        pos = 26;
    } else {
        d.style = v.u32(0);
        count = v.u16(8);
        d.width = static_cast<std::int16_t>(v.u16(14));
        d.height = static_cast<std::int16_t>(v.u16(16));
        pos = 18;
    }
    SkipSzOrOrd(v, pos);  // menu
    SkipSzOrOrd(v, pos);  // window class
    SkipSzOrOrd(v, pos);  // caption
    if (d.style & kSetFont) {
        pos += d.extended ? 6 : 2;  // point size (and weight, italic, character set)
        SkipSzOrOrd(v, pos);        // typeface
    }
    for (std::uint16_t i = 0; i < count; ++i) {
        pos = Align4(pos);
        DialogControl c;
        if (d.extended) {
            c.style = v.u32(pos + 8);
            c.id = v.u32(pos + 20);
            pos += 24;
        } else {
            c.style = v.u32(pos);
            c.id = v.u16(pos + 16);
            pos += 18;
        }
        ReadSzOrOrd(v, pos, c.className, c.classOrdinal);
        ReadSzOrOrd(v, pos, c.title, c.titleOrdinal);
        const std::uint16_t extra = v.u16(pos);
        pos += 2 + extra;
        d.controls.push_back(c);
    }
    return d;
}

ManifestFacts ReadManifest(const Bytes& resource)
{
    const std::string xml(resource.begin(), resource.end());
    ManifestFacts m;
    std::smatch match;
    const std::regex level(R"(<[\w:]*requestedExecutionLevel\b[^>]*\blevel\s*=\s*["']([^"']*)["'])");
    if (std::regex_search(xml, match, level))
        m.executionLevel = match[1];
    const std::regex ui(R"(<[\w:]*requestedExecutionLevel\b[^>]*\buiAccess\s*=\s*["']([^"']*)["'])");
    if (std::regex_search(xml, match, ui))
        m.uiAccess = match[1];
    const std::regex identity(R"(<[\w:]*assemblyIdentity\b[^>]*>)");
    const std::regex controls(R"(\bname\s*=\s*["']Microsoft\.Windows\.Common-Controls["'])");
    const std::regex version(R"(\bversion\s*=\s*["']([^"']*)["'])");
    for (auto it = std::sregex_iterator(xml.begin(), xml.end(), identity);
         it != std::sregex_iterator(); ++it) {
        const std::string tag = it->str();
        std::smatch v;
        if (std::regex_search(tag, controls) && std::regex_search(tag, v, version))
            m.commonControlsVersion = v[1];
    }
    return m;
}

}  // namespace artifacts
