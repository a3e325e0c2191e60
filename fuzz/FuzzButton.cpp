// A button driven by random sequences: property sets (out-of-range values too, and stored ones
// read back through a property bag), resizes down to 0x0 and 1x1, mouse, key and focus events,
// hover-timer ticks, ambient changes and redraws, at design and run time. Nothing may crash or
// read out of bounds, and every drawing object it made is gone once it is torn down.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string>

#include "fuzz/Require.h"
#include "buttons/testing/HeadlessHost.h"
#include "buttons/qkButtons_H.h"
#include "forms/PropertyBag.h"
#include "gdi/Gdi.h"
#include "win/testing/FakeWindowServices.h"

namespace {

struct Bytes {
    const std::uint8_t* data;
    std::size_t size;
    std::size_t at = 0;
    bool More() const { return at < size; }
    std::uint8_t Next() { return at < size ? data[at++] : 0; }
    // Mostly small values around the valid ranges, sometimes any 32-bit value.
    std::int32_t Number() {
        const std::uint8_t b = Next();
        if (b < 0xF0) return static_cast<std::int32_t>(b % 16) - 3;
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v = (v << 8) | Next();
        return static_cast<std::int32_t>(v);
    }
    buttons::OleColor Colour() {
        const std::uint8_t b = Next();
        if (b < 0x40) return 0x80000000u | (b % 0x20);  // system colours, some out of range
        return static_cast<buttons::OleColor>(b) * 0x010203u ^ (b & 0x80 ? 0x01000000u : 0u);
    }
    std::string Text() {
        std::string s(Next() % 24, ' ');
        for (char& c : s) c = static_cast<char>(Next());
        return s;
    }
    float Coordinate() { return static_cast<float>(static_cast<std::int8_t>(Next())) * 1.5f; }
};

void Stored(Bytes& in, buttons::qkButtons_H& button) {
    static constexpr const char* kKeys[] = {"BackStyle", "Mode",  "Value",    "CapAlign", "CapStyle", "Shape",
                                            "ImgAlign",  "ImgSize", "Gradient", "LockHover", "mPointer", "Focus",
                                            "cBack",     "cGradient", "cFHover", "cBHover",  "cFore",    "Enabled"};
    forms::PropertyBag bag;
    for (int n = in.Next() % 4; n >= 0; --n) {
        bag.WriteInt32(kKeys[in.Next() % std::size(kKeys)], in.Number());
    }
    if (in.Next() & 1) bag.WriteString("Caption", in.Text());
    try {
        button.ReadProperties(bag);
    } catch (const std::exception&) {
        // A value of the wrong type is refused; the button stays as it was.
    }
}

void Step(Bytes& in, buttons::qkButtons_H& button, buttons::testing::HeadlessHost& host, win::FakeWindowServices& windows) {
    std::int16_t mouse = static_cast<std::int16_t>(in.Next() % 8);
    std::int16_t shift = static_cast<std::int16_t>(in.Next() % 8);
    switch (in.Next() % 36) {
        case 0: button.SetButtonStyle(in.Number()); break;
        case 1: button.SetMode(in.Number()); break;
        case 2: button.SetValue(in.Next() & 1); break;
        case 3: button.SetCaption(in.Text()); break;
        case 4: button.SetCaptionAlign(in.Number()); break;
        case 5: button.SetCaptionStyle(in.Number()); break;
        case 6: button.SetButtonShape(in.Number()); break;
        case 7: button.SetPictureAlign(in.Number()); break;
        case 8: button.SetShowFocusRect(in.Next() & 1); break;
        case 9: button.SetPictureSize(in.Number()); break;
        case 10: button.SetFontStyle(in.Number()); break;
        case 11: button.SetForeColor(in.Colour()); break;
        case 12: button.SetBackColor(in.Colour()); break;
        case 13: button.SetGradientColor(in.Colour()); break;
        case 14: button.SetGradientMode(in.Number()); break;
        case 15: button.SetHoverColorLocks(in.Number()); break;
        case 16: button.SetHoverForeColor(in.Colour()); break;
        case 17: button.SetHoverBackColor(in.Colour()); break;
        case 18: button.SetEnabled(in.Next() & 1); break;
        case 19: button.DelayDrawing(in.Next() & 1); break;
        case 20: {
            const std::uint8_t w = in.Next();
            const std::uint8_t h = in.Next();
            host.SetClientSize(w < 16 ? w % 2 : w % 160, h < 16 ? h % 2 : h % 90);  // 0x0 and 1x1 often
            break;
        }
        case 21: {
            float x = in.Coordinate(), y = in.Coordinate();
            button.Input().MouseDown(mouse, shift, x, y);
            break;
        }
        case 22: {
            float x = in.Coordinate(), y = in.Coordinate();
            button.Input().MouseMove(mouse, shift, x, y);
            break;
        }
        case 23: {
            float x = in.Coordinate(), y = in.Coordinate();
            button.Input().MouseUp(mouse, shift, x, y);
            break;
        }
        case 24: {
            std::int16_t key = static_cast<std::int16_t>(in.Next());
            button.Input().KeyDown(key, shift);
            break;
        }
        case 25: {
            std::int16_t key = static_cast<std::int16_t>(in.Next());
            button.Input().KeyPress(key);
            break;
        }
        case 26: {
            std::int16_t key = static_cast<std::int16_t>(in.Next());
            button.Input().KeyUp(key, shift);
            break;
        }
        case 27: button.Input().GotFocus(); break;
        case 28: button.Input().AccessKeyPress(static_cast<std::int16_t>(in.Next())); break;
        case 29:
            windows.SetCursor({in.Next() % 200 - 20, in.Next() % 120 - 20});
            windows.AdvanceTime(in.Next() % 4 * 50);
            break;
        case 30: button.Refresh(); break;
        case 31: button.Paint(); break;
        case 32:
            host.SetUserMode(!host.UserMode());
            button.Input().AmbientChanged("UserMode");
            break;
        case 33: Stored(in, button); break;
        case 34: {
            buttons::FontDesc font = button.Font();
            font.Size = in.Next() % 80 * 0.75;
            font.Weight = in.Next() % 10 * 100;
            font.Italic = in.Next() & 1;
            button.SetFont(font);
            break;
        }
        default: {
            static constexpr const char* kItems[] = {"Font", "Picture", "BackColor", "font", "other"};
            button.RefreshCache(kItems[in.Next() % 5]);
            break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const gdi::ObjectCounts before = gdi::LiveObjects();
    {
        Bytes in{data, size};
        win::FakeWindowServices windows;
        buttons::testing::HeadlessHost host(97, 41);
        const win::HWND container = windows.CreateWindow({0, 0, 400, 300});
        host.SetWindows(windows.CreateWindow({10, 10, 107, 51}, container), container);
        host.SetUserMode((in.Next() & 1) != 0);
        auto button = std::make_unique<buttons::qkButtons_H>(host, windows);
        host.SetResizeHandler([&] { button->Resize(); });
        button->InitProperties();
        button->Resize();
        for (int steps = 0; in.More() && steps < 200; ++steps) Step(in, *button, host, windows);
        button.reset();
        // The hover timer is stopped and the button's window properties are gone with it.
        fuzz::Require(windows.TimerCount() == 0);
    }
    fuzz::Require(gdi::LiveObjects() == before);  // no leaked drawing object
    return 0;
}
