// One 32x32 icon picture per redraw, as the button draws it: a scaled copy with CopyImage,
// drawn with DrawIconEx (mask, then colour), and destroyed again.
#include <benchmark/benchmark.h>

#include "gdi/Gdi.h"

namespace {

using namespace gdi;

OwnedIcon MakeIcon(int size) {
    OwnedBitmap colour(CreateDIBSection32(size, size));
    OwnedBitmap mask(CreateBitmap(size, size, 1, 1, nullptr));
    const BitmapView c = GetBitmapView(colour.get());
    const BitmapView m = GetBitmapView(mask.get());
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const bool edge = (x - size / 2) * (x - size / 2) + (y - size / 2) * (y - size / 2) > size * size / 4;
            m.pixels1[y * m.stride + x] = edge ? 1 : 0;
            c.pixels32[y * c.stride + x] = edge ? 0 : static_cast<std::uint32_t>(0x00103050 + x * 0x40000 + y * 0x400);
        }
    }
    ICONINFO info;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return OwnedIcon(CreateIconIndirect(info));
}

void BM_CopyAndDrawIcon(benchmark::State& state) {
    const int sourceSize = static_cast<int>(state.range(0));
    OwnedIcon icon = MakeIcon(sourceSize);
    OwnedDC dc(CreateCompatibleDC(HDC{}));
    OwnedBitmap face(CreateDIBSection32(145, 41));
    const HBITMAP old = SelectObject(dc.get(), face.get());
    for (auto _ : state) {
        HICON copy = HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, 32, 32, 0));
        DrawIconEx(dc.get(), 8, 4, copy, 0, 0, 0, HBRUSH{}, DI_NORMAL);
        DestroyIcon(copy);
    }
    SelectObject(dc.get(), old);
}
BENCHMARK(BM_CopyAndDrawIcon)->Arg(32)->Arg(48);

void BM_CopyIconOnly(benchmark::State& state) {
    OwnedIcon icon = MakeIcon(32);
    for (auto _ : state) {
        HICON copy = HandleCast<HICON>(CopyImage(HGDIOBJ(icon.get()), IMAGE_ICON, 32, 32, 0));
        DestroyIcon(copy);
    }
}
BENCHMARK(BM_CopyIconOnly);

void BM_DrawIconOnly(benchmark::State& state) {
    OwnedIcon icon = MakeIcon(32);
    OwnedDC dc(CreateCompatibleDC(HDC{}));
    OwnedBitmap face(CreateDIBSection32(145, 41));
    const HBITMAP old = SelectObject(dc.get(), face.get());
    for (auto _ : state) DrawIconEx(dc.get(), 8, 4, icon.get(), 0, 0, 0, HBRUSH{}, DI_NORMAL);
    SelectObject(dc.get(), old);
}
BENCHMARK(BM_DrawIconOnly);

}  // namespace
