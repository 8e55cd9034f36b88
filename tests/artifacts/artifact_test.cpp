// Checks of the built Windows artefacts, run on the host after both builds: the port I/O
// driver image and the resources of the status monitor program.
//
// The win32 build directory comes from --win32-build-dir=DIR or the environment variable
// WIN32_BUILD_DIR; the artwork checks read the committed files of monitor/res.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <set>
#include <string>

#include "tests/artifacts/pe_image.h"
#include "tests/artifacts/resource_formats.h"

namespace fs = std::filesystem;
using namespace artifacts;

namespace {

std::string g_win32BuildDir;

constexpr std::uint16_t kRtIcon = 3;
constexpr std::uint16_t kRtBitmap = 2;
constexpr std::uint16_t kRtDialog = 5;
constexpr std::uint16_t kRtGroupIcon = 14;
constexpr std::uint16_t kRtVersion = 16;
constexpr std::uint16_t kRtManifest = 24;

constexpr std::size_t kCursorFrameSize = 6 + 16 + 40 + 256 * 4 + 32 * 32 + 32 * 4;

struct AnimationCase {
    std::uint16_t id;
    const char* file;
    const char* title;
    std::size_t size;
};
const AnimationCase kAnimations[] = {
    {165, "error.ani", "Converted from effor_final_3.gif", 4642},
    {166, "info.ani", "Converted from info_final.gif", 4638},
};

fs::path ArtworkDir() { return fs::path(ARTWORK_DIR); }

// Loads a file of the win32 build; a missing build directory or file is a failure.
Bytes Win32Artefact(const fs::path& relative)
{
    if (g_win32BuildDir.empty())
        throw FormatError("no win32 build directory given (--win32-build-dir=DIR or "
                          "WIN32_BUILD_DIR)");
    const fs::path path = fs::path(g_win32BuildDir) / relative;
    if (!fs::is_regular_file(path))
        throw FormatError("missing artefact " + path.string());
    return ReadFileBytes(path.string());
}

PeImage Driver() { return PeImage(Win32Artefact("driver/hwinterface.sys")); }
PeImage Monitor() { return PeImage(Win32Artefact("monitor/LX90VENDRA(ESC P).exe")); }

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// One animated cursor as the status window plays it: two different 32x32 8-bpp cursor frames
// with the hot spot at the origin, shown 12 jiffies each, in order.
void ExpectStatusAnimation(const Bytes& file, const AnimationCase& c)
{
    SCOPED_TRACE(c.file);
    EXPECT_EQ(file.size(), c.size);
    const AniCursor ani = ParseAniCursor(file);
    EXPECT_EQ(ani.title, c.title);
    EXPECT_FALSE(ani.author.empty());
    ASSERT_TRUE(ani.hasHeader);
    EXPECT_EQ(ani.header.cbSize, 36u);
    EXPECT_EQ(ani.header.frames, 2u);
    EXPECT_EQ(ani.header.steps, 2u);
    EXPECT_EQ(ani.header.width, 0u);
    EXPECT_EQ(ani.header.height, 0u);
    EXPECT_EQ(ani.header.bitCount, 0u);
    EXPECT_EQ(ani.header.planes, 1u);
    EXPECT_EQ(ani.header.rate, 12u);
    EXPECT_EQ(ani.header.flags, 1u);
    ASSERT_EQ(ani.frames.size(), 2u);
    for (const Bytes& frame : ani.frames) {
        EXPECT_EQ(frame.size(), kCursorFrameSize);
        const IconFile cur = ParseIconFile(frame);
        EXPECT_EQ(cur.type, 2) << "frame is not a cursor";
        ASSERT_EQ(cur.entries.size(), 1u);
        const IconFileEntry& e = cur.entries[0];
        EXPECT_EQ(e.width, 32);
        EXPECT_EQ(e.height, 32);
        EXPECT_EQ(e.planesOrHotspotX, 0) << "hot spot x";
        EXPECT_EQ(e.bitCountOrHotspotY, 0) << "hot spot y";
        EXPECT_EQ(e.offset + e.bytes, frame.size());
        EXPECT_EQ(e.image.width, 32);
        EXPECT_EQ(e.image.height, 64);  // colour and mask bitmaps
        EXPECT_EQ(e.image.planes, 1);
        EXPECT_EQ(e.image.bitCount, 8);
        EXPECT_EQ(e.image.compression, 0u);
    }
    EXPECT_NE(ani.frames[0], ani.frames[1]) << "the two frames are the same picture";
}

// ---------------------------------------------------------------------------------------------

TEST(PeChecksum, FoldsCarriesAndSkipsTheChecksumField)
{
    // Words 0x0201 and 0x0003, plus the length.
    EXPECT_EQ(ComputePeChecksum({0x01, 0x02, 0x03}, 100), 0x0204u + 3);
    // 0xFFFF + 0x0002 carries out of 16 bits and folds back in: 0x0002.
    EXPECT_EQ(ComputePeChecksum({0xFF, 0xFF, 0x02, 0x00}, 100), 0x0002u + 4);
    // The four bytes of the checksum field do not count.
    EXPECT_EQ(ComputePeChecksum({0x10, 0x00, 0xAA, 0xBB, 0xCC, 0xDD, 0x20, 0x00}, 2),
              0x0030u + 8);
}

TEST(ArtworkFiles, AnimationsAreTwoFrameAnimatedCursors)
{
    for (const AnimationCase& c : kAnimations)
        ExpectStatusAnimation(ReadFileBytes((ArtworkDir() / c.file).string()), c);
}

TEST(ArtworkFiles, TrayIconHasOnly24And16PixelPaletteImages)
{
    const IconFile ico = ParseIconFile(ReadFileBytes((ArtworkDir() / "tray.ico").string()));
    EXPECT_EQ(ico.type, 1);
    std::set<int> sizes;
    for (const IconFileEntry& e : ico.entries) {
        sizes.insert(e.width);
        EXPECT_EQ(e.height, e.width);
        EXPECT_EQ(e.image.bitCount, 8);
        EXPECT_EQ(e.image.width, e.width);
        EXPECT_EQ(e.image.height, 2 * e.height);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24}));
    EXPECT_EQ(ico.entries.size(), 2u);
}

TEST(ArtworkFiles, PrinterPictureIs102By76TrueColourBitmap)
{
    const Bytes bmp = ReadFileBytes((ArtworkDir() / "printer.bmp").string());
    View v(bmp);
    ASSERT_EQ(v.text(0, 2), "BM");
    EXPECT_EQ(v.u32(2), bmp.size());
    const BitmapInfo info = ParseBitmapInfo(v.sub(14, bmp.size() - 14));
    EXPECT_EQ(info.width, 102);
    EXPECT_EQ(info.height, 76);
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.compression, 0u);
    const std::size_t stride = (102 * 3 + 3) / 4 * 4;
    EXPECT_EQ(v.u32(10) + stride * 76, bmp.size());
}

// ---------------------------------------------------------------------------------------------

TEST(DriverImage, IsNativeI386ImageImportingOnlyKernelAndHal)
{
    const PeImage sys = Driver();
    EXPECT_EQ(sys.machine(), 0x14C) << "not i386";
    EXPECT_EQ(sys.optionalMagic(), 0x10B) << "not PE32";
    EXPECT_EQ(sys.subsystem(), 1) << "not a native image";
    EXPECT_TRUE(sys.characteristics() & 0x0002) << "not executable";
    EXPECT_FALSE(sys.characteristics() & 0x0001) << "relocations stripped";
    EXPECT_NE(sys.entryPoint(), 0u);
    EXPECT_GT(sys.relocationCount(), 0u);

    std::set<std::string> dlls;
    std::set<std::string> halFunctions;
    for (const PeImage::Import& imp : sys.imports()) {
        dlls.insert(Lower(imp.dll));
        for (const std::string& f : imp.functions) {
            if (Lower(imp.dll) == "hal.dll")
                halFunctions.insert(f);
            EXPECT_EQ(f.find("WRITE_PORT"), std::string::npos) << "imports " << f;
        }
    }
    EXPECT_EQ(dlls, (std::set<std::string>{"ntoskrnl.exe", "hal.dll"}));
    EXPECT_TRUE(halFunctions.count("READ_PORT_UCHAR")) << "port reads do not go through HAL";
}

TEST(DriverImage, HeaderChecksumMatchesTheFile)
{
    const PeImage sys = Driver();
    const std::uint32_t computed = ComputePeChecksum(sys.file(), sys.checksumOffset());
    EXPECT_NE(sys.storedChecksum(), 0u);
    EXPECT_EQ(sys.storedChecksum(), computed);

    Bytes damaged = sys.file();
    damaged[damaged.size() / 2] ^= 0x01;
    EXPECT_NE(ComputePeChecksum(damaged, sys.checksumOffset()), computed);
}

// ---------------------------------------------------------------------------------------------

TEST(MonitorResources, ProgramIs32BitWindowsApplication)
{
    const PeImage exe = Monitor();
    EXPECT_EQ(exe.machine(), 0x14C);
    EXPECT_EQ(exe.optionalMagic(), 0x10B);
    EXPECT_EQ(exe.subsystem(), 2) << "not a GUI program";
}

TEST(MonitorResources, StatusAnimationsAreTheArtworkFilesUnchanged)
{
    const PeImage exe = Monitor();
    for (const AnimationCase& c : kAnimations) {
        SCOPED_TRACE(c.id);
        const auto res = exe.resource(std::string("ANICURSORS"), c.id);
        ASSERT_TRUE(res.has_value()) << "no ANICURSORS " << c.id;
        ExpectStatusAnimation(*res, c);
        EXPECT_TRUE(*res == ReadFileBytes((ArtworkDir() / c.file).string()));
    }
}

TEST(MonitorResources, CarriesTheBuiltDriverImageByteForByte)
{
    const PeImage exe = Monitor();
    const auto res = exe.resource(std::string("BIN"), std::uint16_t{164});
    ASSERT_TRUE(res.has_value()) << "no BIN 164";
    const Bytes sys = Win32Artefact("driver/hwinterface.sys");
    EXPECT_EQ(res->size(), sys.size());
    EXPECT_TRUE(*res == sys) << "BIN 164 differs from driver/hwinterface.sys";
}

TEST(MonitorResources, IconGroupsHoldTheirSizes)
{
    const PeImage exe = Monitor();
    struct {
        std::uint16_t id;
        std::set<int> sizes;
        bool exact;
    } const groups[] = {
        {1009, {32, 16}, false},  // window icon
        {1010, {24, 16}, true},   // tray icon: exactly these, 256 colours
    };
    for (const auto& g : groups) {
        SCOPED_TRACE(g.id);
        const auto res = exe.resource(kRtGroupIcon, g.id);
        ASSERT_TRUE(res.has_value()) << "no icon group " << g.id;
        std::set<int> sizes;
        for (const IconGroupEntry& e : ParseIconGroup(*res)) {
            sizes.insert(e.width);
            const auto icon = exe.resource(kRtIcon, e.iconId);
            ASSERT_TRUE(icon.has_value()) << "icon " << e.iconId << " of the group is missing";
            EXPECT_EQ(icon->size(), e.bytes);
            const BitmapInfo image = ParseBitmapInfo(View(*icon));
            EXPECT_EQ(image.width, e.width);
            EXPECT_EQ(image.height, 2 * e.height);
            if (g.exact) {
                EXPECT_EQ(e.bitCount, 8);
                EXPECT_EQ(image.bitCount, 8);
            }
        }
        if (g.exact) {
            EXPECT_EQ(sizes, g.sizes);
        } else {
            for (int s : g.sizes)
                EXPECT_TRUE(sizes.count(s)) << "no " << s << "x" << s << " image";
        }
    }
}

TEST(MonitorResources, PrinterBitmapIs102By76TrueColour)
{
    const PeImage exe = Monitor();
    const auto bmp = exe.resource(kRtBitmap, std::uint16_t{152});
    ASSERT_TRUE(bmp.has_value()) << "no bitmap 152";
    const BitmapInfo info = ParseBitmapInfo(View(*bmp));
    EXPECT_EQ(info.width, 102);
    EXPECT_EQ(info.height, 76);
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.compression, 0u);
}

bool IsStatic(const DialogControl& c)
{
    return c.classOrdinal == 0x0082 || Lower(c.className) == "static";
}

TEST(MonitorResources, StatusDialogShowsThePrinterBitmapAndTheAnimation)
{
    const PeImage exe = Monitor();
    const auto res = exe.resource(kRtDialog, std::uint16_t{102});
    ASSERT_TRUE(res.has_value()) << "no dialog 102";
    const DialogTemplate dlg = ParseDialogTemplate(*res);
    EXPECT_EQ(dlg.width, 257);
    EXPECT_EQ(dlg.height, 146);
    const DialogControl* picture = nullptr;
    const DialogControl* animation = nullptr;
    for (const DialogControl& c : dlg.controls) {
        if (c.id == 136)
            picture = &c;
        if (c.id == 1002)
            animation = &c;
    }
    ASSERT_NE(picture, nullptr) << "no control 136";
    EXPECT_TRUE(IsStatic(*picture));
    EXPECT_EQ(picture->style & 0x1F, 0x0Eu) << "control 136 is not SS_BITMAP";
    EXPECT_TRUE(picture->titleOrdinal == 152 || picture->title == "#152")
        << "control 136 does not name bitmap 152";
    ASSERT_NE(animation, nullptr) << "no control 1002";
    EXPECT_TRUE(IsStatic(*animation));
    EXPECT_EQ(animation->style & 0x1F, 0x03u) << "control 1002 is not SS_ICON";
}

TEST(MonitorResources, VersionRecordNamesTheProgram)
{
    const PeImage exe = Monitor();
    const auto names = exe.resourceNames(kRtVersion);
    ASSERT_EQ(names.size(), 1u) << "expected one version record";
    const VersionRecord v = ParseVersionRecord(*exe.resource(kRtVersion, names[0]));
    EXPECT_EQ(v.signature, 0xFEEF04BDu);
    EXPECT_EQ(v.fileVersionMS, 0x00010000u);
    EXPECT_EQ(v.fileVersionLS, 0x00000004u);
    EXPECT_EQ(v.productVersionMS, 0x00010000u);
    EXPECT_EQ(v.productVersionLS, 0x00000001u);
    const std::pair<const char*, const char*> expected[] = {
        {"CompanyName", "Veltro Electronics"},
        {"FileDescription", "Status Monitor Tool"},
        {"FileVersion", "1.0.0.4"},
        {"ProductVersion", "1.0.0.1"},
        {"InternalName", "LX90VENDRA(ESC P).exe"},
        {"OriginalFilename", "LX90VENDRA(ESC P).exe"},
    };
    for (const auto& [key, value] : expected) {
        ASSERT_TRUE(v.strings.count(key)) << "no " << key;
        EXPECT_EQ(v.strings.at(key), value) << key;
    }
}

TEST(MonitorResources, ManifestRunsAsInvokerWithCommonControls6)
{
    const PeImage exe = Monitor();
    const auto manifest = exe.resource(kRtManifest, std::uint16_t{1});
    ASSERT_TRUE(manifest.has_value()) << "no manifest 24/1";
    const ManifestFacts m = ReadManifest(*manifest);
    EXPECT_EQ(m.executionLevel, "asInvoker");
    EXPECT_TRUE(m.uiAccess.empty() || m.uiAccess == "false") << m.uiAccess;
    EXPECT_EQ(m.commonControlsVersion, "6.0.0.0");
}

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (const char* env = std::getenv("WIN32_BUILD_DIR"))
        g_win32BuildDir = env;
    const char* const option = "--win32-build-dir=";
    for (int i = 1; i < argc; ++i)
        if (std::strncmp(argv[i], option, std::strlen(option)) == 0)
            g_win32BuildDir = argv[i] + std::strlen(option);
    return RUN_ALL_TESTS();
}
