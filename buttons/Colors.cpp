#include "buttons/Colors.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "gdi/Dc.h"
#include "gdi/Draw.h"
#include "gdi/Objects.h"
#include "gdi/SysColor.h"

namespace buttons {
namespace {

// The green and blue bytes are scaled by 256/255 (the stored colour is divided by 255 × 256^k,
// not 256^k), to the nearest integer: byte + byte/255 rounds up exactly when byte/255 >= 1/2, that
// is from 128 on (the divisor is odd, so no exact halves occur).
std::int32_t ScaledByte(std::int32_t byteValue) { return byteValue + (byteValue >> 7); }

std::int32_t ClampChannel(std::int32_t v, bool invert) {
    if (v > 255) v = 255;
    if (v < 0) v = 0;
    return invert ? std::abs(255 - v) : v;
}

gdi::COLORREF ShiftOnce(gdi::COLORREF colour, std::int32_t amount, bool scaleBlue, bool invertResult) {
    const std::int32_t r = static_cast<std::int32_t>(colour & 0xFF) + amount;
    const std::int32_t g = ScaledByte(static_cast<std::int32_t>((colour >> 8) & 0xFF)) + amount;
    std::int32_t b = 0;
    const std::int32_t w = ScaledByte(static_cast<std::int32_t>((colour >> 16) & 0xFF));
    if (scaleBlue) {
        // Blue moves in proportion to its own value; C++ division truncates toward zero like \.
        b = w + (amount * w) / 192;
    } else {
        b = w + amount;
    }
    const auto rr = static_cast<gdi::COLORREF>(ClampChannel(r, invertResult));
    const auto gg = static_cast<gdi::COLORREF>(ClampChannel(g, invertResult));
    const auto bb = static_cast<gdi::COLORREF>(ClampChannel(b, invertResult));
    return rr + gg * 256 + bb * 65536;
}

}  // namespace

std::int32_t Nearest(double x) {
    // Host sizes arrive as doubles; a value beyond 32 bits (or not a number) must not reach the
    // integer conversion, which would be undefined, so it saturates (NaN becomes 0).
    if (std::isnan(x)) return 0;
    constexpr double lo = -2147483648.0;
    constexpr double hi = 2147483647.0;
    if (x <= lo) return INT32_MIN;
    if (x >= hi) return INT32_MAX;
    // The default floating-point rounding mode rounds halves to even.
    return static_cast<std::int32_t>(std::nearbyint(x));
}

gdi::COLORREF ConvertSysColor(OleColor colour) { return gdi::ColorFromOle(colour); }

gdi::COLORREF ShiftColor(gdi::COLORREF colour, std::int16_t& amount, bool scaleBlue, bool retryOnExtreme,
                         bool invertResult) {
    // A colour that is extreme with both amount and -amount would retry forever; after every
    // distinct amount has been tried (amount, -amount, and 64/-64 for a zero start) the last
    // result stands.
    constexpr int maxAttempts = 4;
    gdi::COLORREF result = 0;
    for (int attempt = 0; attempt < maxAttempts; ++attempt) {
        result = ShiftOnce(colour, amount, scaleBlue, invertResult);
        if (!retryOnExtreme || (result != 0 && result != 0xFFFFFF)) return result;
        if (attempt + 1 == maxAttempts) break;
        amount = static_cast<std::int16_t>(-static_cast<std::int32_t>(amount));
        if (amount == 0) amount = 64;
    }
    return result;
}

gdi::COLORREF ShiftColor(gdi::COLORREF colour, std::int16_t amount) {
    return ShiftColor(colour, amount, true, false, false);
}

void SetDrawColor(RenderBuffer& buffer, bool enable, gdi::HDC hdc, std::int32_t mode, OleColor colour, bool alsoPen,
                  int width, int style) {
    if (!enable) {
        buffer.RestoreBrushAndPen();
        return;
    }
    switch (mode) {
        case 0:
            if (!buffer.Dc()) return;
            buffer.SelectBrush(gdi::CreateSolidBrush(colour));
            if (alsoPen) buffer.SelectPen(gdi::CreatePen(style, width, colour));
            break;
        case 1:
            if (!buffer.Dc()) return;
            buffer.SelectPen(gdi::CreatePen(style, width, colour));
            break;
        case 2:
            gdi::SetTextColor(hdc, ConvertSysColor(colour));
            break;
        default:
            break;
    }
}

void DrawBox(RenderBuffer& buffer, gdi::HDC hdc, int x1, int y1, int x2, int y2, OleColor fill, std::int64_t pen,
             int penWidth, int penStyle) {
    if (pen != -1) SetDrawColor(buffer, true, hdc, 1, static_cast<OleColor>(pen), false, penWidth, penStyle);
    SetDrawColor(buffer, true, hdc, 0, fill, pen == -1, 1, gdi::PS_SOLID);
    gdi::Rectangle(hdc, x1, y1, x2, y2);
}

void BoxRun::SelectDcObjects() {
    if (dcObjects_) return;
    // Displaces (and deletes) the pen and brush the first DrawBox would have replaced.
    buffer_.SelectBrush(gdi::HBRUSH(gdi::GetStockObject(gdi::DC_BRUSH).value));
    buffer_.SelectPen(gdi::HPEN(gdi::GetStockObject(gdi::DC_PEN).value));
    dcObjects_ = true;
}

void BoxRun::Add(int x1, int y1, int x2, int y2, OleColor fill) {
    if (pending_ && buffer_.Dc()) {
        SelectDcObjects();
        if (batched_ == BatchSize) Flush();
        batch_[static_cast<std::size_t>(batched_++)] = last_;
    } else if (pending_) {
        DrawBox(buffer_, buffer_.Dc(), last_.rect.left, last_.rect.top, last_.rect.right, last_.rect.bottom,
                last_.colour);
    }
    pending_ = true;
    last_ = {{x1, y1, x2, y2}, fill};
}

void BoxRun::AddStrips(const gdi::RECT& first, bool sideBySide, const gdi::COLORREF* colours, int count) {
    if (count <= 0) return;
    // The box before these and every strip but the last are painted now, in order; the last
    // strip waits, as Add's last box does.
    if (buffer_.Dc() && (pending_ || count > 1)) {
        SelectDcObjects();
        if (pending_) {
            if (batched_ == BatchSize) Flush();
            batch_[static_cast<std::size_t>(batched_++)] = last_;
        }
        if (batched_ > 0) Flush();
        if (count > 1) gdi::StripsInDcColours(buffer_.Dc(), first, sideBySide, colours, count - 1);
    } else if (pending_) {
        DrawBox(buffer_, buffer_.Dc(), last_.rect.left, last_.rect.top, last_.rect.right, last_.rect.bottom,
                last_.colour);
    }
    pending_ = true;
    // Worked out wide so that no coordinate wraps; gdi clamps them far inside int's range.
    const std::int64_t by = (sideBySide ? std::int64_t{first.right} - first.left
                                        : std::int64_t{first.bottom} - first.top) * (count - 1);
    const auto at = [](std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX)); };
    const std::int64_t dx = sideBySide ? by : 0, dy = sideBySide ? 0 : by;
    last_ = {{at(first.left + dx), at(first.top + dy), at(first.right + dx), at(first.bottom + dy)}, colours[count - 1]};
}

void BoxRun::Flush() {
    gdi::RectanglesInDcColours(buffer_.Dc(), batch_.data(), batched_);
    batched_ = 0;
}

void BoxRun::Finish() {
    if (!pending_) return;
    pending_ = false;
    if (batched_ > 0) Flush();
    DrawBox(buffer_, buffer_.Dc(), last_.rect.left, last_.rect.top, last_.rect.right, last_.rect.bottom,
            last_.colour);
}

}  // namespace buttons
