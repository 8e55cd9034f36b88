// Readers of the resource formats the monitor carries: animated cursors (RIFF "ACON"),
// icon and cursor files and icon groups, device-independent bitmaps, version records and the
// application manifest. All of them raise FormatError on malformed data.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "tests/artifacts/pe_image.h"

namespace artifacts {

struct AniHeader {
    std::uint32_t cbSize = 0, frames = 0, steps = 0, width = 0, height = 0, bitCount = 0,
                  planes = 0, rate = 0, flags = 0;
};

struct AniCursor {
    std::string title;   // INFO/INAM, without the terminating zero
    std::string author;  // INFO/IART, without the terminating zero
    bool hasHeader = false;
    AniHeader header;
    std::vector<Bytes> frames;  // the "icon" chunks of the "fram" list, in order
};

// Parses a complete RIFF "ACON" file; the RIFF size must cover the file exactly.
AniCursor ParseAniCursor(const Bytes& file);

struct BitmapInfo {
    std::uint32_t headerSize = 0;
    std::int32_t width = 0;
    std::int32_t height = 0;  // for icon images: twice the image height (XOR + AND)
    std::uint16_t planes = 0;
    std::uint16_t bitCount = 0;
    std::uint32_t compression = 0;
};
BitmapInfo ParseBitmapInfo(View dib);

struct IconFileEntry {
    std::uint8_t width = 0, height = 0, colourCount = 0;
    std::uint16_t planesOrHotspotX = 0, bitCountOrHotspotY = 0;
    std::uint32_t bytes = 0, offset = 0;
    BitmapInfo image;
};

struct IconFile {
    std::uint16_t type = 0;  // 1 icon, 2 cursor
    std::vector<IconFileEntry> entries;
};
// An .ico/.cur file; every entry's image must lie inside the file.
IconFile ParseIconFile(const Bytes& file);

struct IconGroupEntry {
    std::uint8_t width = 0, height = 0, colourCount = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint32_t bytes = 0;
    std::uint16_t iconId = 0;
};
std::vector<IconGroupEntry> ParseIconGroup(const Bytes& resource);

struct VersionRecord {
    std::uint32_t signature = 0;
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0;
    std::uint32_t productVersionMS = 0, productVersionLS = 0;
    std::map<std::string, std::string> strings;  // of every string table
};
VersionRecord ParseVersionRecord(const Bytes& resource);

// A dialog template (DLGTEMPLATE or DLGTEMPLATEEX) with its controls. Class and title are
// either a text or an ordinal (then `classOrdinal` / `titleOrdinal` is non-zero).
struct DialogControl {
    std::uint32_t id = 0;
    std::uint32_t style = 0;
    std::string className;
    std::uint16_t classOrdinal = 0;
    std::string title;
    std::uint16_t titleOrdinal = 0;
};
struct DialogTemplate {
    bool extended = false;
    std::uint32_t style = 0;
    std::int16_t width = 0, height = 0;
    std::vector<DialogControl> controls;
};
DialogTemplate ParseDialogTemplate(const Bytes& resource);

struct ManifestFacts {
    std::string executionLevel;     // empty when no requestedExecutionLevel
    std::string uiAccess;           // empty when not stated
    std::string commonControlsVersion;  // version of the Common-Controls dependency, or empty
};
ManifestFacts ReadManifest(const Bytes& resource);

}  // namespace artifacts
