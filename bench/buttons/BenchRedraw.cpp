// RedrawButton of whole controls (the program's `ligar`, and every shape, gradient and picture
// size), caption layout through the control, and loading a window description with its buttons.
#include <benchmark/benchmark.h>

#include <memory>
#include <string>
#include <vector>

#include "buttons/Caption.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/Render.h"
#include "buttons/qkButtons_H.h"
#include "buttons/testing/ControlRig.h"
#include "forms/Description.h"
#include "gdi/Gdi.h"
#include "win/testing/FakeWindowServices.h"

namespace {

using Rig = buttons::testing::ControlRig;

// A 32 x 32 icon made in memory: a green square with a transparent border.
buttons::PictureRef MakeIcon32() {
    return buttons::testing::MakeIconPicture(
        32, [](int x, int y) { return x >= 2 && y >= 2 && x <= 29 && y <= 29; }, gdi::RGB(0, 192, 0));
}

// The main window's `ligar`: 145 x 41 pixels, bold 15.75 pt Times New Roman, a 32-pixel icon.
void ConfigureLigar(buttons::qkButtons_H& b) {
    b.DelayDrawing(true);
    b.SetCaption("Ligar ");
    b.SetFont({"Times New Roman", 15.75, 700, false, false, false, 0});
    b.SetBackColor(gdi::RGB(128, 255, 128));
    b.SetHoverBackColor(gdi::RGB(0, 255, 0));
    b.SetHoverColorLocks(1);
    b.SetGradientColor(0);
    b.SetPicture(MakeIcon32());
    b.SetPictureSize(2);
    b.DelayDrawing(false);
}

void BM_RedrawButtonLigar(benchmark::State& state) {
    Rig rig(145, 41);
    ConfigureLigar(*rig.button);
    for (auto _ : state) rig.button->Refresh();
    state.SetLabel(gdi::ToString(gdi::LiveObjects()));
}
BENCHMARK(BM_RedrawButtonLigar);

// The host's paint of a face the buffer already shows (the present after a Refresh, or an
// uncovered window): the frame is built and found painted, and nothing is drawn or copied.
void BM_PaintShownLigar(benchmark::State& state) {
    Rig rig(145, 41);
    ConfigureLigar(*rig.button);
    for (auto _ : state) rig.button->Paint();
}
BENCHMARK(BM_PaintShownLigar);

void BM_RedrawButtonShapeGradientPicture(benchmark::State& state) {
    Rig rig(145, 41);
    ConfigureLigar(*rig.button);
    rig.button->SetButtonShape(static_cast<std::int32_t>(state.range(0)));
    rig.button->SetGradientMode(static_cast<std::int32_t>(state.range(1)));
    rig.button->SetGradientColor(gdi::RGB(40, 90, 200));
    rig.button->SetPictureSize(static_cast<std::int32_t>(state.range(2)));
    for (auto _ : state) rig.button->Refresh();
}
BENCHMARK(BM_RedrawButtonShapeGradientPicture)
    ->ArgNames({"shape", "gradient", "size"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5, 6}, {0, 1, 2, 3, 4}, {0, 1, 2, 3, 4}});

void BM_CaptionLayoutLigar(benchmark::State& state) {
    Rig rig(145, 41);
    ConfigureLigar(*rig.button);
    auto& s = rig.button->State();
    for (auto _ : state) {
        buttons::Relayout(s, rig.button->Buffer(), rig.host);
        benchmark::DoNotOptimize(s.Layout.CaptionRect);
    }
}
BENCHMARK(BM_CaptionLayoutLigar);

std::string TenButtonWindow() {
    std::string text = "DizoForm 1\nBegin Form Form1\n    Caption = \"Dizo texto do chat Echolink\"\n"
                       "    ClientWidth = 11400\n    ClientHeight = 7500\n    BackColor = &H8000000F&\n";
    const char* names[] = {"ligar", "desligar", "local", "remoto", "sair",
                           "sobre", "a_ajuda", "f_ajuda", "servidor", "retorna"};
    int top = 120;
    for (const char* name : names) {
        text += std::string("    Begin Button ") + name + "\n        Left = 360\n        Top = " +
                std::to_string(top) + "\n        Width = 2175\n        Height = 615\n" +
                "        Caption = \"" + name + "\"\n" +
                "        Font = Font(\"Times New Roman\", 15.75, Bold)\n        cFHover = &H80000012&\n" +
                "        cBHover = &H0000FF00&\n        LockHover = 1\n        cGradient = &H00000000&\n" +
                "        Mode = 0\n        Value = False\n        ImgSize = 32%\n        cBack = &H0080FF80&\n" +
                "    End\n";
        top += 700;
    }
    return text + "End\n";
}

void BM_LoadWindowDescription(benchmark::State& state) {
    const std::string text = TenButtonWindow();
    for (auto _ : state) {
        const forms::Document doc = forms::ParseDescription(text, "Form1.frm", "");
        win::FakeWindowServices windows;
        std::vector<std::unique_ptr<buttons::testing::HeadlessHost>> hosts;
        std::vector<std::unique_ptr<buttons::qkButtons_H>> controls;
        for (const auto& c : doc.Root.Children) {
            hosts.push_back(std::make_unique<buttons::testing::HeadlessHost>(145, 41));
            controls.push_back(std::make_unique<buttons::qkButtons_H>(*hosts.back(), windows));
            controls.back()->ReadProperties(c.Properties);
        }
        benchmark::DoNotOptimize(controls.data());
        controls.clear();
    }
}
BENCHMARK(BM_LoadWindowDescription);

void BM_ParseWindowDescription(benchmark::State& state) {
    const std::string text = TenButtonWindow();
    for (auto _ : state) {
        const forms::Document doc = forms::ParseDescription(text, "Form1.frm", "");
        benchmark::DoNotOptimize(doc.Root.Children.size());
    }
}
BENCHMARK(BM_ParseWindowDescription);

}  // namespace
