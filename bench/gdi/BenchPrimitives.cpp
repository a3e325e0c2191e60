// Button-sized drawing work on a 145x41 face: gradient rows (as calls and as strips), the outline polyline, corner
// pixels, the final blit, and pen/brush churn (with a count of heap allocations per iteration).
#include <benchmark/benchmark.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "gdi/Gdi.h"

namespace {

std::atomic<long> allocations{0};

}  // namespace

// Counting replacements of the global allocation functions; GCC cannot see that they pair up.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t n) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* p = std::malloc(n ? n : 1)) return p;
    throw std::bad_alloc();
}
void operator delete(void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop

namespace {

using namespace gdi;

constexpr int FaceW = 145;
constexpr int FaceH = 41;

class Face {
public:
    Face() {
        HDC screen = GetDC();
        dc_ = CreateCompatibleDC(screen);
        bmp_ = CreateCompatibleBitmap(screen, FaceW, FaceH);
        old_ = SelectObject(dc_, bmp_);
        out_ = CreateCompatibleDC(screen);
        outBmp_ = CreateCompatibleBitmap(screen, FaceW, FaceH);
        outOld_ = SelectObject(out_, outBmp_);
        ReleaseDC(screen);
    }
    ~Face() {
        SelectObject(dc_, old_);
        SelectObject(out_, outOld_);
        DeleteObject(bmp_);
        DeleteObject(outBmp_);
        DeleteDC(dc_);
        DeleteDC(out_);
    }
    HDC dc() const { return dc_; }
    HDC out() const { return out_; }

private:
    HDC dc_, out_;
    HBITMAP bmp_, outBmp_, old_, outOld_;
};

// The gradient: each row gets its own pen and brush, selected at once, the displaced pair deleted.
void GradientRows(HDC dc) {
    for (int y = 0; y < 40; ++y) {
        const COLORREF c = RGB(200 - y, 210 - y, 220 - y);
        DeleteObject(SelectObject(dc, CreatePen(PS_SOLID, 1, c)));
        DeleteObject(SelectObject(dc, CreateSolidBrush(c)));
        Rectangle(dc, 0, y, FaceW, y + 1);
    }
}

void Outline(HDC dc) {
    static const POINT pts[13] = {{2, 0},   {142, 0},  {144, 2},  {144, 38}, {142, 40}, {2, 40}, {0, 38},
                                  {0, 2},   {2, 0},    {3, 1},    {141, 1},  {143, 3},  {143, 37}};
    Polyline(dc, pts, 13);
}

void Corners(HDC dc) {
    SetPixel(dc, 1, 1, RGB(128, 128, 128));
    SetPixel(dc, 143, 1, RGB(128, 128, 128));
    SetPixel(dc, 1, 39, RGB(128, 128, 128));
    SetPixel(dc, 143, 39, RGB(128, 128, 128));
}

void Present(const Face& f) { BitBlt(f.out(), 0, 0, FaceW, FaceH, f.dc(), 0, 0, SRCCOPY); }

void ReportAllocations(benchmark::State& state, long before) {
    state.counters["allocs/iter"] =
        benchmark::Counter(static_cast<double>(allocations.load() - before) / static_cast<double>(state.iterations()));
}

void BM_GradientRows(benchmark::State& state) {
    Face f;
    const long before = allocations.load();
    for (auto _ : state) GradientRows(f.dc());
    ReportAllocations(state, before);
}
BENCHMARK(BM_GradientRows);

// The same rows as a face's shading paints them: 39 one-row strips inside the side columns in the
// DC's own pen and brush, or (columns:1) the 145 one-pixel columns of a horizontal gradient.
void BM_FaceStrips(benchmark::State& state) {
    Face f;
    SelectObject(f.dc(), HBRUSH(GetStockObject(DC_BRUSH).value));
    SelectObject(f.dc(), HPEN(GetStockObject(DC_PEN).value));
    COLORREF colours[FaceW];
    for (int i = 0; i < FaceW; ++i) colours[i] = RGB(200 - i / 2, 210 - i / 2, 220 - i / 3);
    const bool columns = state.range(0) != 0;
    for (auto _ : state) {
        if (columns)
            StripsInDcColours(f.dc(), {0, 0, 1, FaceH}, true, colours, FaceW);
        else
            StripsInDcColours(f.dc(), {1, 1, FaceW - 1, 2}, false, colours, FaceH - 2);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_FaceStrips)->ArgName("columns")->DenseRange(0, 1);

void BM_Polyline12(benchmark::State& state) {
    Face f;
    for (auto _ : state) Outline(f.dc());
}
BENCHMARK(BM_Polyline12);

void BM_SetPixel4(benchmark::State& state) {
    Face f;
    for (auto _ : state) Corners(f.dc());
}
BENCHMARK(BM_SetPixel4);

void BM_BitBltFace(benchmark::State& state) {
    Face f;
    for (auto _ : state) Present(f);
}
BENCHMARK(BM_BitBltFace);

void BM_WholeFaceWithoutTextAndIcon(benchmark::State& state) {
    Face f;
    const long before = allocations.load();
    for (auto _ : state) {
        GradientRows(f.dc());
        Outline(f.dc());
        Corners(f.dc());
        Present(f);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_WholeFaceWithoutTextAndIcon);

void BM_PenBrushCreateDelete(benchmark::State& state) {
    // Warm the table so freed slots exist to be reused.
    DeleteObject(CreatePen(PS_SOLID, 1, 0));
    DeleteObject(CreateSolidBrush(0));
    const long before = allocations.load();
    for (auto _ : state) {
        HPEN p = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
        HBRUSH b = CreateSolidBrush(RGB(4, 5, 6));
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(b);
        DeleteObject(p);
        DeleteObject(b);
    }
    ReportAllocations(state, before);
}
BENCHMARK(BM_PenBrushCreateDelete);

void BM_MaskStretchShrink(benchmark::State& state) {
    HDC src = CreateCompatibleDC(HDC{});
    HBITMAP mask = CreateBitmap(32, 32, 1, 1, nullptr);
    HBITMAP oldSrc = SelectObject(src, mask);
    HDC dst = CreateCompatibleDC(HDC{});
    HBITMAP small = CreateBitmap(16, 16, 1, 1, nullptr);
    HBITMAP oldDst = SelectObject(dst, small);
    for (auto _ : state) StretchBlt(dst, 0, 0, 16, 16, src, 0, 0, 32, 32, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteObject(mask);
    DeleteObject(small);
    DeleteDC(src);
    DeleteDC(dst);
}
BENCHMARK(BM_MaskStretchShrink);

}  // namespace

namespace {

// An icon-sized colour shrink in the default mode, as scaling a 48-pixel icon to 32 does.
void BM_ColourStretchShrink(benchmark::State& state) {
    HDC src = CreateCompatibleDC(HDC{});
    HBITMAP big = CreateBitmap(48, 48, 1, 32, nullptr);
    HBITMAP oldSrc = SelectObject(src, big);
    HDC dst = CreateCompatibleDC(HDC{});
    HBITMAP small = CreateBitmap(32, 32, 1, 32, nullptr);
    HBITMAP oldDst = SelectObject(dst, small);
    for (auto _ : state) StretchBlt(dst, 0, 0, 32, 32, src, 0, 0, 48, 48, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteObject(big);
    DeleteObject(small);
    DeleteDC(src);
    DeleteDC(dst);
}
BENCHMARK(BM_ColourStretchShrink);

}  // namespace
