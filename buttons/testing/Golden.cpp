#include "buttons/testing/Golden.h"

#include <cstdlib>

#include "gdi/Gdi.h"
#include "gdi/testing/Pixels.h"

namespace buttons::testing {
namespace {

namespace fs = std::filesystem;

bool Inside(const gdi::RECT* r, int x, int y) {
    return r && x >= r->left && x < r->right && y >= r->top && y < r->bottom;
}

bool UpdateRequested() {
    const char* update = std::getenv("DIZO_UPDATE_GOLDEN");
    return update != nullptr && std::string(update) == "1";
}

}  // namespace

std::string CompareWithGolden(const fs::path& folder, const std::string& name, gdi::HBITMAP actual,
                              const gdi::RECT* ignored) {
    const fs::path golden = folder / (name + ".png");
    if (UpdateRequested()) {
#ifdef _WIN32
        return name + ": goldens are rewritten by the Linux build only";
#else
        fs::create_directories(folder);
        gdi::WritePng(actual, golden);
        return "";
#endif
    }
    if (!fs::exists(golden)) return golden.string() + " is missing; run with DIZO_UPDATE_GOLDEN=1 and review it";
    const gdi::OwnedBitmap expected = gdi::LoadBitmapFile(golden);
    const gdi::BitmapView want = gdi::GetBitmapView(expected.get());
    const gdi::BitmapView got = gdi::GetBitmapView(actual);
    if (!want.pixels32 || !got.pixels32 || want.width != got.width || want.height != got.height) {
        return name + ": the golden is " + std::to_string(want.width) + "x" + std::to_string(want.height) +
               ", the face " + std::to_string(got.width) + "x" + std::to_string(got.height);
    }
    const gdi::OwnedBitmap diff(gdi::CreateDIBSection32(got.width, got.height));
    const gdi::BitmapView d = gdi::GetBitmapView(diff.get());
    int differing = 0;
    for (int y = 0; y < got.height; ++y) {
        for (int x = 0; x < got.width; ++x) {
            const std::uint32_t a = got.pixels32[y * got.stride + x] & gdi::test::kRgb;
            const bool same = Inside(ignored, x, y) || a == (want.pixels32[y * want.stride + x] & gdi::test::kRgb);
            differing += same ? 0 : 1;
            // Matching pixels pale, so that the red differences stand out.
            d.pixels32[y * d.stride + x] = same ? (a >> 2 & 0x3F3F3F) + 0xBFBFBF : 0xFF0000;
        }
    }
    if (differing == 0) return "";
    const fs::path out = fs::temp_directory_path() / "dizo-golden";
    fs::create_directories(out);
    gdi::WritePng(actual, out / (name + ".actual.png"));
    gdi::WritePng(diff.get(), out / (name + ".diff.png"));
    return name + ": " + std::to_string(differing) + " pixels differ; see " + (out / (name + ".diff.png")).string();
}

}  // namespace buttons::testing
