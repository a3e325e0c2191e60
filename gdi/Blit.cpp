// PatBlt, BitBlt and StretchBlt: rows are gathered into 32-bit words in the destination's
// format (converting colour and monochrome as GDI does), combined by the ROP, and stored back.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "Draw.h"
#include "Raster_p.h"
#include "Rop_p.h"

namespace gdi {

using namespace detail;

namespace {

constexpr int Chunk = 256;  // pixels handled at once on the stack

std::uint32_t MaskOf(const Bitmap& b) { return b.bitsPerPixel == 1 ? 1u : 0x00FFFFFFu; }

void LoadRow(const Bitmap& b, int x, int y, int n, std::uint32_t* out) {
    if (b.bitsPerPixel == 1) {
        const std::uint8_t* p = b.Row1(y) + x;
        for (int i = 0; i < n; ++i) out[i] = p[i];
    } else {
        std::memcpy(out, b.Row32(y) + x, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
    }
}

void StoreRow(Bitmap& b, int x, int y, int n, const std::uint32_t* in) {
    if (b.bitsPerPixel == 1) {
        std::uint8_t* p = b.Row1(y) + x;
        for (int i = 0; i < n; ++i) p[i] = static_cast<std::uint8_t>(in[i]);
    } else {
        std::memcpy(b.Row32(y) + x, in, static_cast<std::size_t>(n) * sizeof(std::uint32_t));
    }
}

// Reads source pixels already converted to the destination's format.
struct SourceReader {
    const Bitmap* bmp = nullptr;
    int mode = 0;  // 0 same format, 1 colour to mono, 2 mono to colour
    std::uint32_t srcBk = 0;
    std::uint32_t zeroColour = 0;
    std::uint32_t oneColour = 0;

    SourceReader(const Bitmap& src, const Dc& srcDc, const Bitmap& dst, const Dc& dstDc) : bmp(&src) {
        if (src.bitsPerPixel == 32 && dst.bitsPerPixel == 1) {
            mode = 1;
            srcBk = ToPixel(srcDc.bkColour);
        } else if (src.bitsPerPixel == 1 && dst.bitsPerPixel == 32) {
            mode = 2;
            zeroColour = ToPixel(dstDc.textColour);
            oneColour = ToPixel(dstDc.bkColour);
        }
    }
    std::uint32_t At(int x, int y) const {
        switch (mode) {
            case 1: return (bmp->Row32(y)[x] & 0x00FFFFFF) == srcBk ? 1u : 0u;
            case 2: return bmp->Row1(y)[x] ? oneColour : zeroColour;
            default: return bmp->bitsPerPixel == 1 ? bmp->Row1(y)[x] : bmp->Row32(y)[x];
        }
    }
    void Row(int x, int y, int n, std::uint32_t* out) const {
        if (mode == 0) {
            LoadRow(*bmp, x, y, n, out);
            return;
        }
        for (int i = 0; i < n; ++i) out[i] = At(x + i, y);
    }
};

bool PatternInk(const Dc& dc, DWORD rop, BrushInk& pattern) {
    if (!RopUsesPattern(rop)) return true;
    if (!dc.brushObj || dc.brushObj->isNull) return false;
    pattern = BrushInkFor(dc, dc.brushObj->colour);
    return true;
}

// One row segment through the operation, with the brush's pattern at device pixels (x.., y).
void ApplyRow(int index, const BrushInk& pattern, int x, int y, const std::uint32_t* source, std::uint32_t* dest,
              int n, std::uint32_t mask) {
    if (!pattern.dithered) {
        RopRow(index, pattern.solid, source, dest, n, mask);
        return;
    }
    std::uint32_t pbuf[Chunk];
    for (int i = 0; i < n; ++i) pbuf[i] = pattern.At(x + i, y);
    RopRowPatterned(index, pbuf, source, dest, n, mask);
}

// Keeps position and extent inside the 27-bit coordinate space, so their sums cannot overflow.
void ClampArea(int& x, int& y, int& width, int& height) {
    x = ClampCoord(x);
    y = ClampCoord(y);
    width = ClampCoord(width);
    height = ClampCoord(height);
}

// A negative extent runs leftwards (upwards) from the pixel after pos: pos+len+1 .. pos.
void Normalise(int& pos, int& len) {
    if (len < 0) {
        pos += len + 1;
        len = -len;
    }
}

// The source index range feeding each destination index, as GDI samples: each source pixel of a
// shrink goes to the destination pixel under its centre; each destination pixel of an
// enlargement takes the source pixel under its centre. A centre on a boundary takes the lower.
void MapAxis(int srcLen, int dstLen, std::vector<std::pair<int, int>>& out) {
    out.assign(static_cast<std::size_t>(dstLen), {-1, -1});
    const std::int64_t sw = srcLen, dw = dstLen;
    if (srcLen > dstLen) {
        for (std::int64_t s = 0; s < sw; ++s) {
            auto& range = out[static_cast<std::size_t>(((2 * s + 1) * dw - 1) / (2 * sw))];
            if (range.first < 0) range.first = static_cast<int>(s);
            range.second = static_cast<int>(s);
        }
    } else {
        for (std::int64_t d = 0; d < dw; ++d) {
            const int s = static_cast<int>(((2 * d + 1) * sw - 1) / (2 * dw));
            out[static_cast<std::size_t>(d)] = {s, s};
        }
    }
}

// The source columns of one destination pixel (ascending, actual coordinates), whether they
// all exist, and the one kept when nothing is combined.
struct Span {
    int lo, hi, keep;
    bool ok;
};

// One stretched row segment: lines holds count converted source rows of spanW pixels from
// column spanLo. Plain parameters keep the loop free of aliasing reloads.
void StretchRow(const Span* cols, int n, const std::uint32_t* lines, int spanW, int spanLo, int count, bool combine,
                bool andMode, std::uint32_t* out, bool* ok) {
    const std::uint32_t* first = lines - spanLo;
    for (int i = 0; i < n; ++i) {
        const Span c = cols[i];
        ok[i] = c.ok;
        if (!c.ok) continue;
        if (!combine || (count == 1 && c.lo == c.hi)) {
            out[i] = first[combine ? c.lo : c.keep];
            continue;
        }
        std::uint32_t v = andMode ? ~0u : 0u;
        for (int k = 0; k < count; ++k) {
            const std::uint32_t* line = first + static_cast<std::ptrdiff_t>(k) * spanW;
            for (int sx = c.lo; sx <= c.hi; ++sx) v = andMode ? (v & line[sx]) : (v | line[sx]);
        }
        out[i] = v;
    }
}

}  // namespace

BOOL PatBlt(HDC hdc, int x, int y, int width, int height, DWORD rop) {
    ClampArea(x, y, width, height);
    Dc* dc = LookupDc(hdc);
    if (!dc || RopUsesSource(rop)) return FALSE;
    Normalise(x, width);
    Normalise(y, height);
    BrushInk pattern;
    if (!PatternInk(*dc, rop, pattern)) return TRUE;  // a null brush paints nothing
    const RECT area{x, y, x + width, y + height};
    const int index = RopIndex(rop);
    if (index == 0xF0) {
        FillBrushInk(*dc, area, pattern);
        return TRUE;
    }
    if (index == 0x00 || index == 0xFF) {
        const std::uint32_t mask = dc->surface ? MaskOf(*dc->surface) : 0;
        FillSolid(*dc, area, Ink{index == 0xFF ? mask : 0u});
        return TRUE;
    }
    Bitmap* s = dc->surface;
    std::uint32_t buf[Chunk];
    ForEachVisibleRect(*dc, area, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy)
            for (int xx = r.left; xx < r.right; xx += Chunk) {
                const int n = std::min(Chunk, static_cast<int>(r.right - xx));
                LoadRow(*s, xx, yy, n, buf);
                ApplyRow(index, pattern, xx, yy, nullptr, buf, n, MaskOf(*s));
                StoreRow(*s, xx, yy, n, buf);
            }
    });
    return TRUE;
}

BOOL BitBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, DWORD rop) {
    if (!RopUsesSource(rop)) return PatBlt(dest, x, y, width, height, rop);
    ClampArea(x, y, width, height);
    ClampArea(srcX, srcY, width, height);
    Dc* dc = LookupDc(dest);
    const Dc* sdc = LookupDc(src);
    if (!dc || !sdc || !sdc->surface) return FALSE;
    if (width < 0) {
        x += width + 1;
        srcX += width + 1;
        width = -width;
    }
    if (height < 0) {
        y += height + 1;
        srcY += height + 1;
        height = -height;
    }
    BrushInk pattern;
    if (!PatternInk(*dc, rop, pattern)) return TRUE;
    if (!dc->surface) return TRUE;  // the screen: accepted and discarded

    // Only the part of the destination whose source lies inside the source bitmap is drawn.
    const Bitmap* sb = sdc->surface;
    const int dx = srcX - x, dy = srcY - y;
    RECT area{std::max(x, -dx), std::max(y, -dy), std::min(x + width, sb->width - dx),
              std::min(y + height, sb->height - dy)};
    if (area.left >= area.right || area.top >= area.bottom) return TRUE;

    const int index = RopIndex(rop);
    if (index == 0xCC && sb != dc->surface && sb->bitsPerPixel == 32 && dc->surface->bitsPerPixel == 32) {
        // A plain copy between two colour bitmaps, as every redraw ends: rows by memcpy, and a
        // block of whole rows of two bitmaps of one width in one (the area is cut to the source,
        // so whole destination rows are whole source rows).
        Bitmap* db = dc->surface;
        ForEachVisibleRect(*dc, area, [&](const RECT& r) {
            const auto n = static_cast<std::size_t>(r.right - r.left);
            if (r.right - r.left == db->width && db->width == sb->width) {
                std::memcpy(db->Row32(r.top), sb->Row32(r.top + dy), n * static_cast<std::size_t>(r.bottom - r.top) * 4);
                return;
            }
            for (int yy = r.top; yy < r.bottom; ++yy)
                std::memcpy(db->Row32(yy) + r.left, sb->Row32(yy + dy) + r.left + dx, n * sizeof(std::uint32_t));
        });
        return TRUE;
    }
    // Blitting within one bitmap reads from a snapshot, so overlapping moves come out right.
    Bitmap snapshot;
    if (sb == dc->surface) {
        snapshot = *sb;
        sb = &snapshot;
    }
    Bitmap* db = dc->surface;
    const SourceReader reader(*sb, *sdc, *db, *dc);
    const std::uint32_t mask = MaskOf(*db);
    std::uint32_t sbuf[Chunk], dbuf[Chunk];
    ForEachVisibleRect(*dc, area, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy) {
            if (index == 0xCC && reader.mode == 0 && db->bitsPerPixel == 32) {
                std::memcpy(db->Row32(yy) + r.left, sb->Row32(yy + dy) + r.left + dx,
                            static_cast<std::size_t>(r.right - r.left) * sizeof(std::uint32_t));
                continue;
            }
            for (int xx = r.left; xx < r.right; xx += Chunk) {
                const int n = std::min(Chunk, static_cast<int>(r.right - xx));
                reader.Row(xx + dx, yy + dy, n, sbuf);
                LoadRow(*db, xx, yy, n, dbuf);
                ApplyRow(index, pattern, xx, yy, sbuf, dbuf, n, mask);
                StoreRow(*db, xx, yy, n, dbuf);
            }
        }
    });
    return TRUE;
}

BOOL StretchBlt(HDC dest, int x, int y, int width, int height, HDC src, int srcX, int srcY, int srcWidth,
                int srcHeight, DWORD rop) {
    if (!RopUsesSource(rop)) return PatBlt(dest, x, y, width, height, rop);
    if (width == srcWidth && height == srcHeight)
        return BitBlt(dest, x, y, width, height, src, srcX, srcY, rop);
    ClampArea(x, y, width, height);
    ClampArea(srcX, srcY, srcWidth, srcHeight);
    Dc* dc = LookupDc(dest);
    const Dc* sdc = LookupDc(src);
    if (!dc || !sdc || !sdc->surface) return FALSE;
    const bool flipX = (width < 0) != (srcWidth < 0);
    const bool flipY = (height < 0) != (srcHeight < 0);
    Normalise(x, width);
    Normalise(y, height);
    Normalise(srcX, srcWidth);
    Normalise(srcY, srcHeight);
    if (width == 0 || height == 0 || srcWidth == 0 || srcHeight == 0) return TRUE;
    BrushInk pattern;
    if (!PatternInk(*dc, rop, pattern)) return TRUE;
    if (!dc->surface) return TRUE;

    Bitmap snapshot;
    const Bitmap* sb = sdc->surface;
    if (sb == dc->surface) {
        snapshot = *sb;
        sb = &snapshot;
    }
    Bitmap* db = dc->surface;
    const SourceReader reader(*sb, *sdc, *db, *dc);
    std::vector<std::pair<int, int>> cols, rows;
    MapAxis(srcWidth, width, cols);
    MapAxis(srcHeight, height, rows);
    // Dropped rows and columns are ANDed (BLACKONWHITE) or ORed (WHITEONBLACK) into the kept
    // ones; the other modes (HALFTONE too, which we do not average) keep the last column and
    // the first row of each run, as GDI does.
    const int mode = dc->stretchMode;
    const bool combine = mode == BLACKONWHITE || mode == WHITEONBLACK;
    const bool andMode = mode == BLACKONWHITE;

    // Each destination column's source columns (ascending, actual coordinates), whether they all
    // exist, and the one kept without combining; the same for rows.
    auto spanOf = [](int start, int len, bool flip, std::pair<int, int> range, int limit, bool keepLast) {
        const int a = flip ? start + len - 1 - range.second : start + range.first;
        const int b = flip ? start + len - 1 - range.first : start + range.second;
        const int kept = keepLast ? range.second : range.first;
        return Span{a, b, flip ? start + len - 1 - kept : start + kept, a >= 0 && b < limit};
    };
    std::vector<Span> colSpan(cols.size()), rowSpan(rows.size());
    int spanLo = sb->width, spanHi = -1;
    for (std::size_t i = 0; i < cols.size(); ++i) {
        colSpan[i] = spanOf(srcX, srcWidth, flipX, cols[i], sb->width, true);
        if (colSpan[i].ok) {
            spanLo = std::min(spanLo, colSpan[i].lo);
            spanHi = std::max(spanHi, colSpan[i].hi);
        }
    }
    for (std::size_t j = 0; j < rows.size(); ++j) rowSpan[j] = spanOf(srcY, srcHeight, flipY, rows[j], sb->height, false);
    if (spanLo > spanHi) return TRUE;  // no destination column has its source
    const int spanW = spanHi - spanLo + 1;
    int maxRows = 1;
    for (const Span& r : rowSpan) maxRows = std::max(maxRows, r.hi - r.lo + 1);
    // Source rows converted to the destination's format, reused while consecutive destination
    // rows read the same ones.
    std::vector<std::uint32_t> lines(static_cast<std::size_t>(spanW) * (combine ? maxRows : 1));
    int cachedLo = -1, cachedHi = -2;

    const int index = RopIndex(rop);
    const std::uint32_t mask = MaskOf(*db);
    std::uint32_t sbuf[Chunk], dbuf[Chunk];
    bool ok[Chunk];
    const RECT area{x, y, x + width, y + height};
    ForEachVisibleRect(*dc, area, [&](const RECT& r) {
        for (int yy = r.top; yy < r.bottom; ++yy) {
            const Span& rs = rowSpan[static_cast<std::size_t>(yy - y)];
            if (!rs.ok) continue;
            const int lo = combine ? rs.lo : rs.keep, hi = combine ? rs.hi : rs.keep;
            if (lo != cachedLo || hi != cachedHi) {
                for (int sy = lo; sy <= hi; ++sy)
                    reader.Row(spanLo, sy, spanW, lines.data() + static_cast<std::size_t>(sy - lo) * spanW);
                cachedLo = lo;
                cachedHi = hi;
            }
            const int count = hi - lo + 1;
            for (int xx = r.left; xx < r.right; xx += Chunk) {
                const int n = std::min(Chunk, static_cast<int>(r.right - xx));
                StretchRow(colSpan.data() + (xx - x), n, lines.data(), spanW, spanLo, count, combine, andMode, sbuf, ok);
                // Runs of columns whose source exists go through the raster operation.
                for (int k = 0; k < n;) {
                    if (!ok[k]) {
                        ++k;
                        continue;
                    }
                    int e = k;
                    while (e < n && ok[e]) ++e;
                    if (index == 0xCC) {
                        for (int q = k; q < e; ++q) sbuf[q] &= mask;
                        StoreRow(*db, xx + k, yy, e - k, sbuf + k);
                    } else {
                        LoadRow(*db, xx + k, yy, e - k, dbuf);
                        ApplyRow(index, pattern, xx + k, yy, sbuf + k, dbuf, e - k, mask);
                        StoreRow(*db, xx + k, yy, e - k, dbuf);
                    }
                    k = e;
                }
            }
        }
    });
    return TRUE;
}

}  // namespace gdi
