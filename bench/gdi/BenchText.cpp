// One line of a button caption in bold 15.75 pt "Times New Roman" (lfHeight -21) on a 145x41
// face: drawn with DrawTextA, and measured with DT_CALCRECT as the caption layout does.
#include <benchmark/benchmark.h>

#include <cstring>

#include "gdi/Gdi.h"

namespace {

using namespace gdi;

class CaptionFace {
public:
    CaptionFace() : dc_(CreateCompatibleDC(HDC{})), bmp_(CreateDIBSection32(145, 41)) {
        LOGFONTA lf;
        lf.lfHeight = -21;
        lf.lfWeight = FW_BOLD;
        lf.lfCharSet = DEFAULT_CHARSET;
        std::strcpy(lf.lfFaceName, "Times New Roman");
        font_ = OwnedFont(CreateFontIndirectA(lf));
        oldBmp_ = SelectObject(dc_.get(), bmp_.get());
        oldFont_ = SelectObject(dc_.get(), font_.get());
        SetBkMode(dc_.get(), TRANSPARENT);
    }
    ~CaptionFace() {
        SelectObject(dc_.get(), oldBmp_);
        SelectObject(dc_.get(), oldFont_);
    }
    HDC dc() const { return dc_.get(); }

private:
    OwnedDC dc_;
    OwnedBitmap bmp_;
    OwnedFont font_;
    HBITMAP oldBmp_;
    HFONT oldFont_;
};

const char* const kCaption = "Envio local";

void BM_DrawTextCaption(benchmark::State& state) {
    CaptionFace face;
    for (auto _ : state) {
        RECT r{6, 8, 139, 33};
        benchmark::DoNotOptimize(DrawTextA(face.dc(), kCaption, -1, &r, DT_CENTER | DT_WORDBREAK));
    }
}
BENCHMARK(BM_DrawTextCaption);

void BM_DrawTextCalcRect(benchmark::State& state) {
    CaptionFace face;
    for (auto _ : state) {
        RECT r{0, 0, 133, 29};
        benchmark::DoNotOptimize(DrawTextA(face.dc(), kCaption, -1, &r, DT_CALCRECT | DT_WORDBREAK));
        benchmark::DoNotOptimize(r);
    }
}
BENCHMARK(BM_DrawTextCalcRect);

}  // namespace
