// The control's colour arithmetic and the small GDI routines every painter uses (boxes, runs of boxes).
// Owns nothing; SetDrawColor selects new pens and brushes into the buffer and deletes what they displace.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "buttons/ButtonTypes.h"
#include "buttons/RenderBuffer.h"
#include "gdi/Draw.h"
#include "gdi/Handles.h"
#include "gdi/Types.h"

namespace buttons {

// System colours (top bit set) through GetSysColor; plain RGB unchanged.
gdi::COLORREF ConvertSysColor(OleColor colour);

// Per-channel lighten (amount > 0) or darken. amount is by reference: a retry negates it.
gdi::COLORREF ShiftColor(gdi::COLORREF colour, std::int16_t& amount, bool scaleBlue, bool retryOnExtreme,
                         bool invertResult);
// The common call: ScaleBlue True, the two other flags False, amount by value.
gdi::COLORREF ShiftColor(gdi::COLORREF colour, std::int16_t amount);

enum class DrawColorMode : std::int32_t { Brush = 0, Pen = 1, Text = 2 };
// mode is the stored 0/1/2 (other values do nothing); brushes and pens always go into the buffer.
void SetDrawColor(RenderBuffer& buffer, bool enable, gdi::HDC hdc, std::int32_t mode, OleColor colour, bool alsoPen = false,
                  int width = 1, int style = gdi::PS_SOLID);
// Solid rectangle through Rectangle; pen -1 outlines with the fill colour.
void DrawBox(RenderBuffer& buffer, gdi::HDC hdc, int x1, int y1, int x2, int y2, OleColor fill, std::int64_t pen = -1,
             int penWidth = 1, int penStyle = gdi::PS_SOLID);

// Solid boxes painted one after another exactly as DrawBox calls with pen -1 would paint them,
// leaving the same objects selected afterwards (a new brush and pen of the last box's colour).
// Every box but the last is painted with the DC's own brush and pen, gathered and handed to gdi
// in batches, so shading rows and gradient strips make and delete no pen or brush each and cost
// one look-up a batch. Finish (or the destructor) paints the last.
class BoxRun {
public:
    explicit BoxRun(RenderBuffer& buffer) : buffer_(buffer) {}
    BoxRun(const BoxRun&) = delete;
    BoxRun& operator=(const BoxRun&) = delete;
    ~BoxRun() { Finish(); }

    void Add(int x1, int y1, int x2, int y2, OleColor fill);
    // As Add for count strips the size of first, side by side or stacked, strip i in colours[i]
    // (plain RGB, as stored).
    void AddStrips(const gdi::RECT& first, bool sideBySide, const gdi::COLORREF* colours, int count);
    void Finish();

private:
    void SelectDcObjects();
    void Flush();

    // Strips go to gdi through AddStrips, so few boxes wait here; a small batch keeps making a
    // BoxRun (whose boxes are zeroed) cheap.
    static constexpr int BatchSize = 16;

    RenderBuffer& buffer_;
    bool pending_ = false;
    bool dcObjects_ = false;  // the DC's own brush and pen are selected
    gdi::ColouredRect last_{};
    std::array<gdi::ColouredRect, BatchSize> batch_;
    int batched_ = 0;
};

// nearest(x): the nearest integer, halves to even (the control's one rounding rule).
std::int32_t Nearest(double x);

}  // namespace buttons
