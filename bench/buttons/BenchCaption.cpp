// Caption layout and drawing of the "ligar" button's caption, and drawing its 32-pixel icon.
#include <benchmark/benchmark.h>

#include <memory>

#include "buttons/Caption.h"
#include "buttons/PictureDraw.h"
#include "buttons/testing/PainterBuffer.h"

namespace {

using buttons::testing::Buffer;
using buttons::testing::PainterHost;

constexpr int FaceW = 145;
constexpr int FaceH = 41;

struct LigarFace {
    LigarFace() : host(FaceW, FaceH), buffer(Prepare(s, host), FaceW, FaceH) {
        auto icon = std::make_shared<buttons::Picture>();
        icon->type = buttons::Picture::Type::Icon;
        icon->handle = gdi::HGDIOBJ(buttons::testing::MakeIcon(32, [](int x, int y) { return (x + y) % 5 != 0; }));
        s.Props.Picture = icon;
        s.Props.PictureSize = 32;
        buttons::RefreshPictureCache(s);
        std::int32_t w = 0;
        std::int32_t l = 0;
        buttons::CalcCaptionLayout(s, buffer.Render(), host, w, true, l);
        buffer.Fill(gdi::RGB(255, 255, 251));
    }
    static PainterHost& Prepare(buttons::ButtonState& state, PainterHost& h) {
        buttons::FontDesc f;
        f.Name = "Times New Roman";
        f.Size = 15.75;
        f.Weight = 700;
        h.SetFont(f);
        state.Props.Caption = "Ligar";
        state.Geometry.SlantRightX = FaceW;
        return h;
    }

    buttons::ButtonState s;
    PainterHost host;
    Buffer buffer;
};

void BM_CalcCaptionLayout(benchmark::State& state) {
    LigarFace face;
    for (auto _ : state) {
        std::int32_t w = 0;
        std::int32_t l = 0;
        buttons::CalcCaptionLayout(face.s, face.buffer.Render(), face.host, w, true, l);
        benchmark::DoNotOptimize(face.s.Geometry.CaptionRect);
    }
}
BENCHMARK(BM_CalcCaptionLayout);

void BM_DrawCaption(benchmark::State& state) {
    LigarFace face;
    face.s.Props.Picture.reset();  // the caption alone
    face.s.Geometry.PictureWidth = 0;
    face.s.Geometry.PictureHeight = 0;
    gdi::COLORREF faceColour = gdi::RGB(255, 255, 251);
    gdi::COLORREF disabled = 0;
    for (auto _ : state) {
        bool singlePass = true;
        buttons::DrawCaption(face.s, face.buffer.Render(), face.host, faceColour, disabled, false, singlePass);
    }
}
BENCHMARK(BM_DrawCaption);

void BM_DrawPictureIcon32(benchmark::State& state) {
    LigarFace face;
    for (auto _ : state) {
        gdi::RECT rect = face.s.Geometry.PictureRect;
        buttons::DrawPicture(face.s, face.buffer.Render(), face.host, rect, FaceW, 0);
    }
}
BENCHMARK(BM_DrawPictureIcon32);

}  // namespace
