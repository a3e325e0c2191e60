// Writes the fuzzer's seed corpus: small valid files of every format and depth the loaders read.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "gdi/testing/ImageFiles.h"

namespace {

void Write(const std::filesystem::path& dir, const std::string& name, const testimg::Bytes& bytes) {
    std::ofstream out(dir / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

std::vector<std::uint32_t> Picture(int w, int h, int colours) {
    std::vector<std::uint32_t> px;
    for (int i = 0; i < w * h; ++i) {
        const auto c = static_cast<std::uint32_t>((i * 7) % colours);
        px.push_back(0xFF000000u | (c * 0x3F1F0Fu & 0xFFFFFF));
    }
    return px;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <corpus dir>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path dir = argv[1];
    std::filesystem::create_directories(dir);
    for (int bpp : {1, 4, 8, 16, 24, 32}) {
        for (bool topDown : {false, true}) {
            testimg::BitmapRecipe s;
            s.width = 5;
            s.height = 3;
            s.bpp = bpp;
            s.topDown = topDown;
            s.pixels = Picture(5, 3, bpp == 1 ? 2 : 12);
            Write(dir, "bmp" + std::to_string(bpp) + (topDown ? "td" : "") + ".bmp", testimg::Bmp(s));
        }
    }
    testimg::BitmapRecipe core;
    core.width = 4;
    core.height = 2;
    core.bpp = 8;
    core.coreHeader = true;
    core.pixels = Picture(4, 2, 5);
    Write(dir, "core8.bmp", testimg::Bmp(core));

    std::vector<std::uint8_t> mask(64, 0);
    mask[0] = mask[9] = 1;
    auto png = Picture(8, 8, 9);
    png[3] &= 0x00FFFFFF;
    Write(dir, "multi.ico",
          testimg::Ico({testimg::SolidIconEntry(8, 4, 0xFF336699, mask), testimg::SolidIconEntry(16, 8, 0xFF00FF00),
                        testimg::SolidIconEntry(4, 32, 0x80FF0000), {8, 8, 32, testimg::Png(8, 8, png)}}));
    auto cur = testimg::SolidIconEntry(8, 1, 0xFFFFFFFF, mask);
    cur.hotX = 2;
    cur.hotY = 3;
    Write(dir, "arrow.cur", testimg::Ico({cur}, 2));
    Write(dir, "rgba.png", testimg::Png(8, 8, png));
    return 0;
}
