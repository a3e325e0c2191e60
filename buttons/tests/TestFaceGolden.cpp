// Whole faces against reviewed PNG images in golden/. DIZO_UPDATE_GOLDEN=1 rewrites them; a
// mismatch writes the actual face and a diff image (red where pixels differ) to the temp folder.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "TestFaceRig.h"

namespace {

using namespace facetest;
namespace fs = std::filesystem;

constexpr int FaceWidth = 96;
constexpr int FaceHeight = 32;

fs::path GoldenDir() { return fs::path(DIZO_SOURCE_DIR) / "buttons" / "tests" / "golden"; }

void SavePng(const std::vector<std::uint32_t>& pixels, int width, int height, const fs::path& path) {
    const gdi::OwnedBitmap bitmap(gdi::CreateDIBSection32(width, height));
    const gdi::BitmapView view = gdi::GetBitmapView(bitmap.get());
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) view.pixels32[y * view.stride + x] = pixels[static_cast<std::size_t>(y * width + x)];
    }
    gdi::WritePng(bitmap.get(), path);
}

std::vector<std::uint32_t> LoadPng(const fs::path& path, int width, int height) {
    const gdi::OwnedBitmap bitmap = gdi::LoadBitmapFile(path);
    const gdi::BitmapView view = gdi::GetBitmapView(bitmap.get());
    if (view.width != width || view.height != height || !view.pixels32) return {};
    std::vector<std::uint32_t> out(static_cast<std::size_t>(width * height));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            out[static_cast<std::size_t>(y * width + x)] = view.pixels32[y * view.stride + x] & 0xFFFFFF;
        }
    }
    return out;
}

void ExpectGolden(const std::string& name, const std::vector<std::uint32_t>& actual) {
    const fs::path golden = GoldenDir() / (name + ".png");
    const char* update = std::getenv("DIZO_UPDATE_GOLDEN");
    if (update != nullptr && std::string(update) == "1") {
        fs::create_directories(GoldenDir());
        SavePng(actual, FaceWidth, FaceHeight, golden);
        return;
    }
    ASSERT_TRUE(fs::exists(golden)) << golden << " is missing; run with DIZO_UPDATE_GOLDEN=1 and review it";
    const std::vector<std::uint32_t> expected = LoadPng(golden, FaceWidth, FaceHeight);
    ASSERT_EQ(expected.size(), actual.size()) << golden << " has the wrong size";
    std::vector<std::uint32_t> diff(actual.size());
    int differing = 0;
    for (std::size_t i = 0; i < actual.size(); ++i) {
        const bool same = actual[i] == expected[i];
        differing += same ? 0 : 1;
        // Matching pixels faded to grey so the red differences stand out.
        const std::uint32_t grey = (((actual[i] >> 16 & 0xFF) + (actual[i] >> 8 & 0xFF) + (actual[i] & 0xFF)) / 3 + 510) / 3;
        diff[i] = same ? (grey << 16 | grey << 8 | grey) : 0x00FF0000;
    }
    if (differing != 0) {
        const fs::path out = fs::temp_directory_path() / "dizo-golden";
        fs::create_directories(out);
        SavePng(actual, FaceWidth, FaceHeight, out / (name + ".actual.png"));
        SavePng(diff, FaceWidth, FaceHeight, out / (name + ".diff.png"));
        ADD_FAILURE() << name << ": " << differing << " pixels differ; see " << (out / (name + ".diff.png"));
    }
}

struct GoldenCase {
    const char* name;
    std::int32_t shape;
    FaceState look;
    std::int32_t gradientMode;
};

std::vector<GoldenCase> Cases() {
    std::vector<GoldenCase> cases;
    for (std::int32_t shape = 0; shape <= 6; ++shape) {
        for (FaceState look : {FaceState::Idle, FaceState::Default, FaceState::Hover, FaceState::Pressed, FaceState::Value, FaceState::Disabled}) {
            cases.push_back({nullptr, shape, look, 0});
        }
    }
    for (std::int32_t mode = 1; mode <= 4; ++mode) {
        cases.push_back({nullptr, 0, FaceState::Idle, mode});
        cases.push_back({nullptr, 4, FaceState::Idle, mode});
    }
    cases.push_back({nullptr, 0, FaceState::Pressed, 3});
    cases.push_back({nullptr, 0, FaceState::Hover, 3});
    return cases;
}

TEST(FaceGolden, EveryShapeStateAndGradient) {
    for (const GoldenCase& c : Cases()) {
        FaceRig rig(FaceWidth, FaceHeight);
        rig.s.Props.ButtonShape = c.shape;
        rig.s.Props.GradientMode = c.gradientMode;
        rig.s.Props.GradientColor = gdi::RGB(96, 144, 208);
        rig.s.Props.HoverBackColor = gdi::RGB(200, 224, 250);
        rig.DeriveColours();
        BuildRegions(rig.s, rig.buffer, rig.host);
        // As in the control: a fresh buffer painted idle first, then the state under test. The raised
        // rim that a press leaves unpainted keeps the idle pass's pixels.
        rig.Paint(false);
        rig.SetLook(c.look);
        rig.Paint(false);
        std::string name = "face_s" + std::to_string(c.shape) + "_" + std::string(FaceStateName(c.look));
        if (c.gradientMode != 0) name += "_g" + std::to_string(c.gradientMode);
        SCOPED_TRACE(name);
        ExpectGolden(name, rig.Composite());
    }
}

}  // namespace
