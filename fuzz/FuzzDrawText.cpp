// libFuzzer entry point over DrawTextA: any bytes, format and rectangle must lay out and draw
// without crashing, looping or touching memory outside the target bitmap.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "gdi/Gdi.h"

namespace {

struct Target {
    gdi::OwnedDC dc{gdi::CreateCompatibleDC(gdi::HDC{})};
    gdi::OwnedBitmap bitmap{gdi::CreateDIBSection32(64, 32)};
    gdi::OwnedFont font;
    Target() {
        gdi::LOGFONTA lf;
        lf.lfHeight = -13;
        lf.lfUnderline = 1;
        std::strcpy(lf.lfFaceName, "MS Sans Serif");
        font = gdi::OwnedFont(gdi::CreateFontIndirectA(lf));
        gdi::SelectObject(dc.get(), bitmap.get());
        gdi::SelectObject(dc.get(), font.get());
    }
};

std::int32_t Read32(const std::uint8_t* p) {
    std::uint32_t v = 0;
    std::memcpy(&v, p, 4);
    return static_cast<std::int32_t>(v);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static Target target;
    constexpr std::size_t kHeader = 12;
    if (size < kHeader) return 0;
    // Small rectangles mostly, so that wrapping happens; the top bits allow extreme values.
    const auto coord = [&](std::size_t at) {
        const std::int32_t v = Read32(data + at);
        return (v & 0x40000000) ? v : static_cast<std::int32_t>(v % 100);
    };
    const auto offset = [](std::int32_t from, std::uint8_t by) {
        const std::int64_t v = std::int64_t{from} + static_cast<std::int8_t>(by);
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
    };
    gdi::RECT rect{coord(0), coord(4), 0, 0};
    rect.right = offset(rect.left, data[8]);
    rect.bottom = offset(rect.top, data[9]);
    const gdi::UINT format = static_cast<gdi::UINT>(data[10]) | (static_cast<gdi::UINT>(data[11] & 0x0F) << 8);
    const std::string text(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    gdi::SetBkMode(target.dc.get(), (format & 1) ? gdi::OPAQUE : gdi::TRANSPARENT);
    gdi::RECT calc = rect;
    gdi::DrawTextA(target.dc.get(), text.data(), static_cast<int>(text.size()), &calc, format | gdi::DT_CALCRECT);
    gdi::DrawTextA(target.dc.get(), text.data(), static_cast<int>(text.size()), &rect, format & ~gdi::DT_CALCRECT);
    gdi::DrawTextA(target.dc.get(), text.c_str(), -1, &rect, format);
    return 0;
}
