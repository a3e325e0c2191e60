// Caption layout and drawing of the "ligar" button's caption, and drawing its 32-pixel icon.
#include <benchmark/benchmark.h>

#include <memory>

#include "buttons/Caption.h"
#include "buttons/PictureDraw.h"
#include "buttons/Render.h"
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
        s.Measured = buttons::MeasurePicture(s.Props.Picture, s.Measured);
        buttons::Relayout(s, buffer.Render(), host);
        buffer.Fill(gdi::RGB(255, 255, 251));
    }
    static PainterHost& Prepare(buttons::ButtonState& state, PainterHost& h) {
        buttons::FontDesc f;
        f.Name = "Times New Roman";
        f.Size = 15.75;
        f.Weight = 700;
        h.SetFont(f);
        state.Props.Caption = "Ligar";
        state.Shape.SlantRightX = FaceW;
        return h;
    }

    buttons::ButtonState s;
    PainterHost host;
    Buffer buffer;
};

void BM_LayOutCaption(benchmark::State& state) {
    LigarFace face;
    for (auto _ : state) {
        buttons::Relayout(face.s, face.buffer.Render(), face.host);
        benchmark::DoNotOptimize(face.s.Layout.CaptionRect);
    }
}
BENCHMARK(BM_LayOutCaption);

void BM_DrawCaption(benchmark::State& state) {
    LigarFace face;
    face.s.Props.Picture.reset();  // the caption alone
    face.s.Measured.Width = 0;
    face.s.Measured.Height = 0;
    const buttons::Frame frame = buttons::MakeFrame(face.s, face.host, face.buffer.Render());
    for (auto _ : state) buttons::DrawCaption(frame, face.buffer.Render(), gdi::RGB(255, 255, 251), 0, false);
}
BENCHMARK(BM_DrawCaption);

void BM_DrawPictureIcon32(benchmark::State& state) {
    LigarFace face;
    const buttons::Frame frame = buttons::MakeFrame(face.s, face.host, face.buffer.Render());
    for (auto _ : state) buttons::DrawPicture(frame, face.buffer.Render(), frame.Layout.PictureRect, FaceW, 0);
}
BENCHMARK(BM_DrawPictureIcon32);

}  // namespace
