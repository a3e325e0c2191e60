// The replayer of drawing scripts, written once against GDI's names and compiled twice: against our
// drawing layer (Replay.cpp) and against Wine's gdi32 (WinReplay.cpp). Each includer first declares,
// in namespace difftest::side, the GDI names and the few adaptor calls listed below.
#pragma once

// Adaptor calls each side provides (the APIs differ only in these):
//   HBITMAP NewColourBitmap(int width, int height);            a zeroed 32 bpp DIB section
//   HFONT NewFont(const LOGFONTA& lf);
//   HICON NewIcon(HBITMAP mask, HBITMAP colour);
//   HICON ScaledIconCopy(HICON icon, int cx, int cy);          CopyImage(IMAGE_ICON, cx, cy, 0)
//   HBITMAP ScaledBitmapCopy(HBITMAP bitmap, int cx, int cy);  CopyImage(IMAGE_BITMAP, cx, cy, 0)
//   std::vector<std::uint32_t> ReadPixels(HDC dc, HBITMAP bitmap, int width, int height);
//                                                              0x00RRGGBB, top-down; bitmap not selected

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "Result.h"
#include "Script.h"

namespace difftest::side {

// Scripts are UTF-8; the A calls take Windows-1252, which agrees with Unicode on U+0000..U+007F
// and U+00A0..U+00FF, all the Portuguese text needs. Anything else becomes '?'.
inline std::string ToWindows1252(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out += static_cast<char>(c);
            ++i;
        } else if ((c & 0xE0) == 0xC0 && i + 1 < utf8.size()) {
            const unsigned cp = ((c & 0x1Fu) << 6) | (static_cast<unsigned char>(utf8[i + 1]) & 0x3Fu);
            out += cp >= 0xA0 && cp <= 0xFF ? static_cast<char>(cp) : '?';
            i += 2;
        } else {
            out += '?';
            ++i;
            while (i < utf8.size() && (static_cast<unsigned char>(utf8[i]) & 0xC0) == 0x80) ++i;
        }
    }
    return out;
}

class Replayer {
public:
    Result Run(const Script& script) {
        Result result;
        const Command* now = nullptr;
        try {
            for (const Command& c : script.commands) {
                now = &c;
                Step(c, result);
            }
            const Surface& t = surfaces_.at(targetName_);
            SelectObject(t.dc, t.original);
            result.width = t.width;
            result.height = t.height;
            result.pixels = ReadPixels(t.dc, t.bitmap, t.width, t.height);
            SelectObject(t.dc, t.bitmap);
        } catch (const std::exception& e) {
            result.error = "line " + std::to_string(now ? now->line : 0) + ": " + e.what();
        }
        Cleanup();
        return result;
    }

private:
    using OldBitmap = decltype(SelectObject(HDC{}, HBITMAP{}));
    struct Surface {
        HDC dc{};
        HBITMAP bitmap{};
        OldBitmap original{};
        int width = 0;
        int height = 0;
    };

    template <class Map>
    static auto& Find(Map& map, const std::string& name, const char* what) {
        auto it = map.find(name);
        if (it == map.end()) throw std::runtime_error(std::string("no ") + what + " named '" + name + "'");
        return it->second;
    }

    void Need(bool ok, const char* what) {
        if (!ok) throw std::runtime_error(what);
    }

    void AddSurface(const std::string& name, HBITMAP bitmap, int width, int height) {
        Need(static_cast<bool>(bitmap), "the bitmap could not be created");
        if (surfaces_.count(name)) {
            DeleteObject(bitmap);
            throw std::runtime_error("a surface of that name exists already");
        }
        Surface s;
        s.dc = CreateCompatibleDC(HDC{});
        s.bitmap = bitmap;
        s.original = SelectObject(s.dc, bitmap);
        s.width = width;
        s.height = height;
        if (targetName_.empty()) targetName_ = name;
        surfaces_[name] = s;
        current_ = s.dc;
    }

    HRGN& NewRegion(const std::string& name) {
        Need(!regions_.count(name), "a region of that name exists already");
        return regions_[name];
    }

    static std::vector<POINT> Points(const Command& c, std::size_t from) {
        std::vector<POINT> pts;
        for (std::size_t i = from; i + 1 < c.args.size(); i += 2) {
            POINT p;
            p.x = c.Int(i);
            p.y = c.Int(i + 1);
            pts.push_back(p);
        }
        return pts;
    }

    static std::string RectText(const RECT& r) {
        return std::to_string(r.left) + " " + std::to_string(r.top) + " " + std::to_string(r.right) + " " +
               std::to_string(r.bottom);
    }

    static RECT MakeRect(const Command& c, std::size_t from) {
        RECT r;
        r.left = c.Int(from);
        r.top = c.Int(from + 1);
        r.right = c.Int(from + 2);
        r.bottom = c.Int(from + 3);
        return r;
    }

    void Record(Result& result, const Command& c, const std::string& values) {
        result.records.push_back("line " + std::to_string(c.line) + " " + c.op + ": " + values);
    }

    // The CALCRECT rectangle and height, then the line on which each word ends: the prefix of the
    // text up to each word's end is laid out alone, and greedy breaking lays out a prefix's lines
    // exactly as the whole text's, so the growth of its height shows where the breaks fall.
    void CalcRect(const Command& c, Result& result) {
        const std::string text = ToWindows1252(c.Str(0));
        const UINT flags = static_cast<UINT>(c.Int(5)) | 0x0400u;  // DT_CALCRECT
        RECT r = MakeRect(c, 1);
        const int height = DrawTextA(current_, text.c_str(), static_cast<int>(text.size()), &r, flags);
        TEXTMETRICA tm{};
        GetTextMetricsA(current_, &tm);
        std::string lines;
        for (std::size_t i = 1; i <= text.size(); ++i) {
            if (i < text.size() && text[i] != ' ' && text[i] != '\r' && text[i] != '\n') continue;
            if (text[i - 1] == ' ' || text[i - 1] == '\r' || text[i - 1] == '\n') continue;
            RECT p = MakeRect(c, 1);
            const int h = DrawTextA(current_, text.c_str(), static_cast<int>(i), &p, flags);
            lines += (lines.empty() ? "" : " ") + std::to_string(tm.tmHeight > 0 ? h / tm.tmHeight : h);
        }
        Record(result, c, "rect " + RectText(r) + " height " + std::to_string(height) + " word-lines " + lines);
    }

    void Step(const Command& c, Result& result) {
        const std::string& op = c.op;
        if (op == "bitmap") {
            AddSurface(c.Str(0), NewColourBitmap(c.Int(1), c.Int(2)), c.Int(1), c.Int(2));
        } else if (op == "monobitmap") {
            AddSurface(c.Str(0), CreateBitmap(c.Int(1), c.Int(2), 1, 1, nullptr), c.Int(1), c.Int(2));
        } else if (op == "select") {
            current_ = Find(surfaces_, c.Str(0), "surface").dc;
        } else if (op == "pen") {
            HPEN pen = CreatePen(c.Int(0), c.Int(1), static_cast<COLORREF>(c.Int(2)));
            Need(static_cast<bool>(pen), "CreatePen failed");
            objects_.push_back(HGDIOBJ(pen));
            SelectObject(current_, pen);
        } else if (op == "brush") {
            brush_ = CreateSolidBrush(static_cast<COLORREF>(c.Int(0)));
            Need(static_cast<bool>(brush_), "CreateSolidBrush failed");
            objects_.push_back(HGDIOBJ(brush_));
            SelectObject(current_, brush_);
        } else if (op == "stockobject") {
            SelectObject(current_, GetStockObject(c.Int(0)));
        } else if (op == "rectangle") {
            Rectangle(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3));
        } else if (op == "ellipse") {
            Ellipse(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3));
        } else if (op == "arc") {
            Arc(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3), c.Int(4), c.Int(5), c.Int(6), c.Int(7));
        } else if (op == "polyline") {
            const std::vector<POINT> pts = Points(c, 0);
            Polyline(current_, pts.data(), static_cast<int>(pts.size()));
        } else if (op == "moveto") {
            MoveToEx(current_, c.Int(0), c.Int(1), nullptr);
        } else if (op == "lineto") {
            LineTo(current_, c.Int(0), c.Int(1));
        } else if (op == "setpixel") {
            SetPixel(current_, c.Int(0), c.Int(1), static_cast<COLORREF>(c.Int(2)));
        } else if (op == "setpixel_result") {
            // The colour actually set, or CLR_INVALID outside the bitmap or the clip region.
            char set[16];
            std::snprintf(set, sizeof set, "%08lx",
                          static_cast<unsigned long>(SetPixel(current_, c.Int(0), c.Int(1),
                                                              static_cast<COLORREF>(c.Int(2)))));
            Record(result, c, set);
        } else if (op == "patblt") {
            PatBlt(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3), static_cast<DWORD>(c.Int(4)));
        } else if (op == "bitblt") {
            const Surface& src = Find(surfaces_, c.Str(4), "surface");
            BitBlt(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3), src.dc, c.Int(5), c.Int(6),
                   static_cast<DWORD>(c.Int(7)));
        } else if (op == "stretchblt") {
            const Surface& src = Find(surfaces_, c.Str(4), "surface");
            StretchBlt(current_, c.Int(0), c.Int(1), c.Int(2), c.Int(3), src.dc, c.Int(5), c.Int(6), c.Int(7),
                       c.Int(8), static_cast<DWORD>(c.Int(9)));
        } else if (op == "setbkcolor") {
            SetBkColor(current_, static_cast<COLORREF>(c.Int(0)));
        } else if (op == "settextcolor") {
            SetTextColor(current_, static_cast<COLORREF>(c.Int(0)));
        } else if (op == "setbkmode") {
            SetBkMode(current_, c.Int(0));
        } else if (op == "setstretchbltmode") {
            SetStretchBltMode(current_, c.Int(0));
        } else if (op == "createrectrgn") {
            HRGN& r = NewRegion(c.Str(0));
            r = CreateRectRgn(c.Int(1), c.Int(2), c.Int(3), c.Int(4));
            Need(static_cast<bool>(r), "CreateRectRgn failed");
        } else if (op == "createellipticrgn") {
            HRGN& r = NewRegion(c.Str(0));
            r = CreateEllipticRgn(c.Int(1), c.Int(2), c.Int(3), c.Int(4));
            Need(static_cast<bool>(r), "CreateEllipticRgn failed");
        } else if (op == "createpolygonrgn") {
            const std::vector<POINT> pts = Points(c, 2);
            HRGN& r = NewRegion(c.Str(0));
            r = CreatePolygonRgn(pts.data(), static_cast<int>(pts.size()), c.Int(1));
            Need(static_cast<bool>(r), "CreatePolygonRgn failed");
        } else if (op == "combinergn") {
            // One lookup after another, so an error names the first missing region.
            const HRGN dest = Find(regions_, c.Str(0), "region");
            const HRGN a = Find(regions_, c.Str(1), "region");
            const HRGN b = Find(regions_, c.Str(2), "region");
            const int type = CombineRgn(dest, a, b, c.Int(3));
            Record(result, c, "type " + std::to_string(type));
        } else if (op == "fillrgn") {
            Need(static_cast<bool>(brush_), "fillrgn needs a brush made first");
            FillRgn(current_, Find(regions_, c.Str(0), "region"), brush_);
        } else if (op == "selectcliprgn") {
            const HRGN r = c.Str(0) == "none" ? HRGN{} : Find(regions_, c.Str(0), "region");
            Record(result, c, "type " + std::to_string(SelectClipRgn(current_, r)));
        } else if (op == "getrgnbox") {
            RECT box{};
            const int type = GetRgnBox(Find(regions_, c.Str(0), "region"), &box);
            Record(result, c, "type " + std::to_string(type) + " box " + RectText(box));
        } else if (op == "ptinregion") {
            const bool in = PtInRegion(Find(regions_, c.Str(0), "region"), c.Int(1), c.Int(2)) != 0;
            Record(result, c, in ? "inside" : "outside");
        } else if (op == "createicon") {
            Need(!icons_.count(c.Str(0)), "an icon of that name exists already");
            Surface& mask = Find(surfaces_, c.Str(1), "surface");
            Surface& colour = Find(surfaces_, c.Str(2), "surface");
            // The bitmaps are taken out of their DCs while the icon copies them, as GDI asks.
            SelectObject(mask.dc, mask.original);
            SelectObject(colour.dc, colour.original);
            HICON icon = NewIcon(mask.bitmap, colour.bitmap);
            mask.original = SelectObject(mask.dc, mask.bitmap);
            colour.original = SelectObject(colour.dc, colour.bitmap);
            Need(static_cast<bool>(icon), "CreateIconIndirect failed");
            icons_[c.Str(0)] = icon;
        } else if (op == "copyimage") {
            Need(!icons_.count(c.Str(0)), "an icon of that name exists already");
            HICON copy = ScaledIconCopy(Find(icons_, c.Str(1), "icon"), c.Int(2), c.Int(3));
            Need(static_cast<bool>(copy), "CopyImage failed");
            icons_[c.Str(0)] = copy;
        } else if (op == "copybitmap") {
            Surface& src = Find(surfaces_, c.Str(1), "surface");
            SelectObject(src.dc, src.original);
            HBITMAP copy = ScaledBitmapCopy(src.bitmap, c.Int(2), c.Int(3));
            src.original = SelectObject(src.dc, src.bitmap);
            Need(static_cast<bool>(copy), "CopyImage failed");
            AddSurface(c.Str(0), copy, c.Int(2), c.Int(3));
        } else if (op == "drawiconex") {
            DrawIconEx(current_, c.Int(0), c.Int(1), Find(icons_, c.Str(2), "icon"), c.Int(3), c.Int(4), 0,
                       HBRUSH{}, static_cast<UINT>(c.Int(5)));
        } else if (op == "font") {
            LOGFONTA lf{};
            lf.lfHeight = c.Int(1);
            lf.lfWeight = c.Int(2);
            lf.lfItalic = c.args.size() > 3 && c.Int(3) != 0 ? 1 : 0;
            lf.lfQuality = static_cast<BYTE>(c.args.size() > 4 ? c.Int(4) : 0);
            std::snprintf(lf.lfFaceName, sizeof lf.lfFaceName, "%s", c.Str(0).c_str());
            HFONT font = NewFont(lf);
            Need(static_cast<bool>(font), "CreateFontIndirectA failed");
            objects_.push_back(HGDIOBJ(font));
            SelectObject(current_, font);
        } else if (op == "drawtext") {
            const std::string text = ToWindows1252(c.Str(0));
            RECT r = MakeRect(c, 1);
            const int h = DrawTextA(current_, text.c_str(), static_cast<int>(text.size()), &r,
                                    static_cast<UINT>(c.Int(5)));
            Record(result, c, "height " + std::to_string(h));
        } else if (op == "drawtext_calcrect") {
            CalcRect(c, result);
        } else if (op == "textextent") {
            // The whole text's extent, then each character's own, to tell advance widths from kerning.
            const std::string text = ToWindows1252(c.Str(0));
            SIZE whole{};
            GetTextExtentPoint32A(current_, text.c_str(), static_cast<int>(text.size()), &whole);
            std::string each;
            for (char ch : text) {
                SIZE one{};
                GetTextExtentPoint32A(current_, &ch, 1, &one);
                each += " " + std::to_string(one.cx);
            }
            Record(result, c, std::to_string(whole.cx) + "x" + std::to_string(whole.cy) + " chars" + each);
        } else if (op == "textmetrics") {
            TEXTMETRICA tm{};
            GetTextMetricsA(current_, &tm);
            Record(result, c,
                   "height " + std::to_string(tm.tmHeight) + " ascent " + std::to_string(tm.tmAscent) +
                       " descent " + std::to_string(tm.tmDescent) + " internal " +
                       std::to_string(tm.tmInternalLeading) + " avewidth " + std::to_string(tm.tmAveCharWidth));
        } else {
            throw std::runtime_error("the replayer does not know '" + op + "'");
        }
    }

    // Stock objects go back into every DC before anything we made is deleted, so no object is
    // deleted while selected.
    void Cleanup() {
        for (auto& [name, s] : surfaces_) {
            SelectObject(s.dc, GetStockObject(BLACK_PEN));
            SelectObject(s.dc, GetStockObject(WHITE_BRUSH));
            SelectObject(s.dc, GetStockObject(SYSTEM_FONT));
            SelectClipRgn(s.dc, HRGN{});
            SelectObject(s.dc, s.original);
            DeleteDC(s.dc);
            DeleteObject(s.bitmap);
        }
        for (auto& [name, r] : regions_) DeleteObject(r);
        for (auto& [name, i] : icons_) DestroyIcon(i);
        for (HGDIOBJ o : objects_) DeleteObject(o);
        surfaces_.clear();
        regions_.clear();
        icons_.clear();
        objects_.clear();
        targetName_.clear();
        current_ = HDC{};
        brush_ = HBRUSH{};
    }

    std::map<std::string, Surface> surfaces_;
    std::map<std::string, HRGN> regions_;
    std::map<std::string, HICON> icons_;
    std::vector<HGDIOBJ> objects_;  // pens, brushes and fonts, deleted at the end
    std::string targetName_;
    HDC current_{};
    HBRUSH brush_{};  // the last brush made, which fillrgn paints with
};

}  // namespace difftest::side
