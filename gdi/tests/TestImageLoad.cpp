#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "gdi/testing/Canvas.h"
#include "gdi/Gdi.h"
#include "gdi/testing/ImageFiles.h"

namespace {

using namespace gdi;
using test::PixelsOf;
using testimg::Bytes;

// A 5x3 picture (odd width, so every row is padded) in at most two colours.
std::vector<std::uint32_t> TwoColourPicture() {
    const std::uint32_t a = 0xFF00FF00, b = 0xFFFF0000;
    return {a, b, a, a, b,  //
            b, b, a, b, a,  //
            a, a, a, b, b};
}

// Sixteen colours exactly representable in 16-bit 5-5-5 too.
std::vector<std::uint32_t> ManyColourPicture() {
    std::vector<std::uint32_t> px;
    for (int i = 0; i < 15; ++i) {
        px.push_back(0xFF000000u | ((i & 1) ? 0xFF0000u : 0) | ((i & 2) ? 0x00FF00u : 0) | ((i & 4) ? 0x0000FFu : 0) |
                     ((i & 8) ? 0x080808u : 0));
    }
    return px;
}

std::vector<std::uint32_t> WithoutAlpha(std::vector<std::uint32_t> px) {
    for (auto& p : px) p &= 0x00FFFFFF;
    return px;
}

struct BmpCase {
    const char* name;
    int bpp;
    bool topDown;
    bool core;
    bool manyColours;
};

class BmpLoading : public testing::TestWithParam<BmpCase> {};

TEST_P(BmpLoading, DecodesEveryDepthAndRowOrder) {
    const BmpCase& c = GetParam();
    testimg::BitmapRecipe s;
    s.width = 5;
    s.height = 3;
    s.bpp = c.bpp;
    s.topDown = c.topDown;
    s.coreHeader = c.core;
    s.pixels = c.manyColours ? ManyColourPicture() : TwoColourPicture();
    const Bytes file = testimg::Bmp(s);
    OwnedBitmap bmp = LoadBitmapFromMemory(file, "pic.bmp");
    ASSERT_TRUE(bmp);
    BITMAP info;
    ASSERT_EQ(GetObjectA(bmp.get(), sizeof info, &info), static_cast<int>(sizeof info));
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmBitsPixel, 32);
    EXPECT_NE(info.bmBits, nullptr) << "loaded bitmaps are DIB sections";
    EXPECT_EQ(PixelsOf(bmp.get()), WithoutAlpha(s.pixels));
}

INSTANTIATE_TEST_SUITE_P(Depths, BmpLoading,
                         testing::Values(BmpCase{"Mono", 1, false, false, false},
                                         BmpCase{"MonoTopDown", 1, true, false, false},
                                         BmpCase{"Nibble", 4, false, false, true},
                                         BmpCase{"NibbleTopDown", 4, true, false, true},
                                         BmpCase{"Byte", 8, false, false, true},
                                         BmpCase{"ByteCoreHeader", 8, false, true, true},
                                         BmpCase{"HighColour", 16, false, false, true},
                                         BmpCase{"TrueColour", 24, false, false, true},
                                         BmpCase{"TrueColourTopDown", 24, true, false, true},
                                         BmpCase{"TrueColourCoreHeader", 24, false, true, true},
                                         BmpCase{"Rgbx", 32, false, false, true},
                                         BmpCase{"RgbxTopDown", 32, true, false, true}),
                         [](const testing::TestParamInfo<BmpCase>& info) { return std::string(info.param.name); });

Bytes GoodBmp() {
    testimg::BitmapRecipe s;
    s.width = 5;
    s.height = 3;
    s.bpp = 8;
    s.pixels = ManyColourPicture();
    return testimg::Bmp(s);
}

Bytes GoodIco() {
    return testimg::Ico({testimg::SolidIconEntry(4, 8, 0xFF0000FF, std::vector<std::uint8_t>(16, 0))});
}

Bytes GoodPngIco() {
    std::vector<std::uint32_t> px(16, 0xFFFF0000);
    px[0] = 0x00000000;
    return testimg::Ico({{4, 4, 32, testimg::Png(4, 4, px)}});
}

Bytes GoodPng() { return testimg::Png(5, 3, ManyColourPicture()); }

// Every shorter prefix of a good file is refused with an error that names the file, and leaves
// no object behind.
TEST(ImageLoading, EveryTruncationIsAClearError) {
    const struct {
        const char* name;
        Bytes file;
    } files[] = {{"t.bmp", GoodBmp()}, {"t.ico", GoodIco()}, {"p.ico", GoodPngIco()}, {"t.png", GoodPng()}};
    const ObjectCounts before = LiveObjects();
    for (const auto& f : files) {
        ASSERT_NO_THROW(LoadIconFromMemory(f.file, f.name)) << f.name;
        for (std::size_t n = 0; n < f.file.size(); ++n) {
            const std::span<const std::uint8_t> part(f.file.data(), n);
            try {
                LoadIconFromMemory(part, f.name);
                ADD_FAILURE() << f.name << " truncated to " << n << " bytes was accepted";
            } catch (const ImageError& e) {
                EXPECT_EQ(std::string(e.what()).rfind(f.name, 0), 0u) << e.what();
            }
            EXPECT_THROW(LoadBitmapFromMemory(part, f.name), ImageError) << f.name << " at " << n;
        }
    }
    EXPECT_EQ(LiveObjects(), before);
}

struct CorruptCase {
    const char* name;
    std::function<Bytes()> make;
    const char* message;  // part of the expected error text
};

Bytes Patched(Bytes b, std::size_t at, std::uint32_t value) {
    testimg::Set32(b, at, value);
    return b;
}

// A PNG whose IHDR claims the given size, with a correct checksum so only the size is wrong.
Bytes PngClaiming(std::uint32_t width, std::uint32_t height) {
    Bytes b = GoodPng();
    auto be32 = [&](std::size_t at, std::uint32_t v) {
        for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (24 - 8 * i));
    };
    be32(16, width);
    be32(20, height);
    std::uint32_t crc = 0xFFFFFFFF;
    for (std::size_t i = 12; i < 29; ++i) {
        crc ^= b[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1)));
    }
    be32(29, ~crc);
    return b;
}

TEST(ImageLoading, CorruptFilesGiveErrorsThatSayWhatIsWrong) {
    // BMP offsets: 14 header size, 18 width, 22 height, 28 bit count, 30 compression, 46 colours used.
    const CorruptCase cases[] = {
        {"rle", [] { return Patched(GoodBmp(), 30, 1); }, "RLE"},
        {"jpeg", [] { return Patched(GoodBmp(), 30, 4); }, "JPEG"},
        {"unknown compression", [] { return Patched(GoodBmp(), 30, 99); }, "compression"},
        {"absurd width", [] { return Patched(GoodBmp(), 18, 20000); }, "too large"},
        {"absurd area", [] { return Patched(Patched(GoodBmp(), 18, 16000), 22, 16000); }, "too large"},
        {"most negative height", [] { return Patched(GoodBmp(), 22, 0x80000000u); }, "too large"},
        {"zero width", [] { return Patched(GoodBmp(), 18, 0); }, "invalid image size"},
        {"negative width", [] { return Patched(GoodBmp(), 18, 0xFFFFFFFFu); }, "invalid image size"},
        {"odd depth", [] { return Patched(GoodBmp(), 28, 7); }, "bit depth"},
        {"pixels beyond the file", [] { return Patched(GoodBmp(), 10, 1u << 30); }, "outside the file"},
        {"huge colour table", [] { return Patched(GoodBmp(), 46, 100000); }, "colour table"},
        {"tiny header", [] { return Patched(GoodBmp(), 14, 5); }, "header size"},
        {"taller than the data", [] { return Patched(GoodBmp(), 22, 300); }, "truncated pixel data"},
        {"not an image", [] { return Bytes{'h', 'e', 'l', 'l', 'o'}; }, "not a bitmap, icon, cursor or PNG"},
        {"empty", [] { return Bytes{}; }, "not a bitmap, icon, cursor or PNG"},
        {"icon without images", [] { return Bytes{0, 0, 1, 0, 0, 0}; }, "no images"},
        {"icon entry beyond the file", [] { return Patched(GoodIco(), 6 + 12, 1u << 31); }, "outside the file"},
        {"icon entry longer than the file", [] { return Patched(GoodIco(), 6 + 8, 1u << 20); }, "outside the file"},
        {"top-down icon image", [] { return Patched(GoodIco(), 22 + 8, static_cast<std::uint32_t>(-8)); }, "top-down"},
        {"png too large", [] { return PngClaiming(20000, 1); }, "too large"},
        {"png damaged", [] { Bytes b = GoodPng(); b[40] ^= 0xFF; return b; }, "bad PNG"},
        {"png inside icon damaged", [] { Bytes b = GoodPngIco(); b[22 + 40] ^= 0xFF; return b; }, "bad PNG"},
    };
    for (const CorruptCase& c : cases) {
        const Bytes file = c.make();
        try {
            LoadIconFromMemory(file, "art/pic");
            ADD_FAILURE() << c.name << " was accepted";
        } catch (const ImageError& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find("art/pic: "), std::string::npos) << c.name << ": " << what;
            EXPECT_NE(what.find(c.message), std::string::npos) << c.name << ": " << what;
        }
    }
}

TEST(ImageLoading, MissingFileNamesThePath) {
    try {
        LoadBitmapFile("/nonexistent/dir/x.bmp");
        FAIL() << "no error";
    } catch (const ImageError& e) {
        EXPECT_NE(std::string(e.what()).find("/nonexistent/dir/x.bmp"), std::string::npos);
    }
}

std::uint32_t IconColourAt(HICON icon, int x, int y, std::uint8_t* maskBit = nullptr) {
    ICONINFO info;
    EXPECT_TRUE(GetIconInfo(icon, &info));
    const BitmapView c = GetBitmapView(info.hbmColor);
    const BitmapView m = GetBitmapView(info.hbmMask);
    const std::uint32_t colour = c.pixels32[y * c.stride + x];
    if (maskBit) *maskBit = m.pixels1[y * m.stride + x];
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return colour;
}

int IconWidth(HICON icon) {
    ICONINFO info;
    EXPECT_TRUE(GetIconInfo(icon, &info));
    BITMAP b;
    GetObjectA(info.hbmColor, sizeof b, &b);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    return b.bmWidth;
}

TEST(IconLoading, PicksTheEntryNearestThePreferredSize) {
    auto e16 = testimg::SolidIconEntry(16, 8, 0xFFFF0000);
    auto e32 = testimg::SolidIconEntry(32, 8, 0xFF00FF00);
    auto e48 = testimg::SolidIconEntry(48, 32, 0xFF0000FF);
    const Bytes file = testimg::Ico({e16, e32, e48});
    const struct {
        int preferred;
        int width;
    } rows[] = {{0, 16}, {1, 16}, {30, 32}, {40, 48} /* a tie goes to the deeper colour */, {100, 48}};
    for (const auto& row : rows) {
        OwnedIcon icon = LoadIconFromMemory(file, "multi.ico", row.preferred);
        EXPECT_EQ(IconWidth(icon.get()), row.width) << "preferred " << row.preferred;
    }
}

TEST(IconLoading, MasksComeFromTheAndMaskOrFromAlpha) {
    std::vector<std::uint8_t> mask(16, 0);
    mask[0] = 1;  // top-left transparent
    const Bytes andIco = testimg::Ico({testimg::SolidIconEntry(4, 8, 0xFF00FF00, mask)});
    OwnedIcon a = LoadIconFromMemory(andIco, "and.ico");
    std::uint8_t bit = 9;
    EXPECT_EQ(IconColourAt(a.get(), 0, 0, &bit), 0x0000FF00u) << "the colour stays for the XOR step";
    EXPECT_EQ(bit, 1);
    IconColourAt(a.get(), 3, 3, &bit);
    EXPECT_EQ(bit, 0);

    // 32-bit with alpha: the alpha decides, even though the AND mask is all clear.
    testimg::BitmapRecipe s;
    s.width = s.height = 4;
    s.bpp = 32;
    s.icon = true;
    s.pixels.assign(16, 0xFF112233);
    s.pixels[5] = 0x10FFFFFF;
    const Bytes alphaIco = testimg::Ico({{4, 4, 32, testimg::Dib(s)}});
    OwnedIcon b = LoadIconFromMemory(alphaIco, "alpha.ico");
    EXPECT_EQ(IconColourAt(b.get(), 1, 1, &bit), 0u);
    EXPECT_EQ(bit, 1);
    EXPECT_EQ(IconColourAt(b.get(), 0, 0, &bit), 0x00112233u);
    EXPECT_EQ(bit, 0);

    OwnedIcon p = LoadIconFromMemory(GoodPngIco(), "png.ico");
    EXPECT_EQ(IconColourAt(p.get(), 0, 0, &bit), 0u);
    EXPECT_EQ(bit, 1);
    EXPECT_EQ(IconColourAt(p.get(), 1, 0, &bit), 0x00FF0000u);
    EXPECT_EQ(bit, 0);
}

TEST(IconLoading, CursorsKeepTheirHotspot) {
    auto entry = testimg::SolidIconEntry(8, 8, 0xFF000000);
    entry.hotX = 3;
    entry.hotY = 5;
    OwnedIcon cursor = LoadIconFromMemory(testimg::Ico({entry}, 2), "arrow.cur");
    ICONINFO info;
    ASSERT_TRUE(GetIconInfo(cursor.get(), &info));
    EXPECT_EQ(info.fIcon, FALSE);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 5u);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
}

TEST(IconLoading, PlainImagesBecomeOpaqueIcons) {
    OwnedIcon icon = LoadIconFromMemory(GoodBmp(), "plain.bmp");
    std::uint8_t bit = 9;
    EXPECT_EQ(IconColourAt(icon.get(), 4, 2, &bit), ManyColourPicture()[14] & 0xFFFFFF);
    EXPECT_EQ(bit, 0);
}

class TempDir {
public:
    TempDir() : path_(std::filesystem::temp_directory_path() / ("dizo-img-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" + std::to_string(reinterpret_cast<std::uintptr_t>(this)))) {
        std::filesystem::create_directories(path_);
    }
    ~TempDir() { std::filesystem::remove_all(path_); }
    std::filesystem::path operator/(const char* name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

TEST(PngWriting, RoundTripsColourAndMonochromeBitmaps) {
    TempDir dir;
    OwnedBitmap colour = LoadBitmapFromMemory(GoodBmp(), "c.bmp");
    WritePng(colour.get(), dir / "c.png");
    OwnedBitmap back = LoadBitmapFile(dir / "c.png");
    EXPECT_EQ(PixelsOf(back.get()), PixelsOf(colour.get()));

    const std::uint8_t rows[] = {0xA0, 0x00, 0x40, 0x00};  // 3x2, rows padded to 16 bits
    OwnedBitmap mono(CreateBitmap(3, 2, 1, 1, rows));
    WritePng(mono.get(), dir / "m.png");
    OwnedBitmap monoBack = LoadBitmapFile(dir / "m.png");
    const std::vector<std::uint32_t> expected = {0xFFFFFF, 0, 0xFFFFFF, 0, 0xFFFFFF, 0};
    EXPECT_EQ(PixelsOf(monoBack.get()), expected);

    EXPECT_THROW(WritePng(HBITMAP{}, dir / "x.png"), ImageError);
    EXPECT_THROW(WritePng(colour.get(), dir / "no/such/dir/x.png"), ImageError);
}

}  // namespace
