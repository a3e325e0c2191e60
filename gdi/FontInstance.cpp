#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <map>
#include <stdexcept>
#include <tuple>

#include "gdi/Font.h"
#include "gdi/Text.h"

namespace gdi::text {
namespace {

// The cell height of a LOGFONT that leaves lfHeight 0.
constexpr int kDefaultCellHeight = 16;
// Beyond this a "font" is a fill pattern; glyph runs keep 16-bit offsets well inside their range.
constexpr int kMaxPixelsPerEm = 2000;

class Library {
public:
    Library() {
        if (FT_Init_FreeType(&lib_) != 0) lib_ = nullptr;
    }
    ~Library() {
        if (lib_) FT_Done_FreeType(lib_);
    }
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    FT_Library get() const { return lib_; }

private:
    FT_Library lib_ = nullptr;
};

// Faces keep the library alive: font objects may outlive this file's statics at exit.
std::shared_ptr<Library> SharedLibrary() {
    static const std::shared_ptr<Library> library = std::make_shared<Library>();
    if (!library->get()) throw std::runtime_error("FreeType could not be initialised");
    return library;
}

int Clamp(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

}  // namespace

int MulDivRound(int a, int b, int c) {
    if (c == 0) return 0;
    const long long num = static_cast<long long>(a) * b;
    const long long den = c;
    const bool negative = (num < 0) != (den < 0);
    const long long q = (std::llabs(num) + std::llabs(den) / 2) / std::llabs(den);
    const long long r = negative ? -q : q;
    return static_cast<int>(std::clamp<long long>(r, INT_MIN, INT_MAX));
}

int PixelsPerEmFor(int lfHeight, int unitsPerEm, int cellUnits) {
    if (lfHeight < 0) return lfHeight < -kMaxPixelsPerEm ? kMaxPixelsPerEm : -lfHeight;
    const int cell = lfHeight == 0 ? kDefaultCellHeight : std::min(lfHeight, 2 * kMaxPixelsPerEm);
    if (cellUnits <= 0) return cell;
    return std::max(1, MulDivRound(cell, unitsPerEm, cellUnits));
}

std::string_view FaceNameOf(const LOGFONTA& lf) {
    const char* name = lf.lfFaceName;
    std::size_t n = 0;
    while (n < sizeof lf.lfFaceName && name[n] != '\0') ++n;
    return {name, n};
}

struct FontInstance::FaceHolder {
    std::shared_ptr<Library> library = SharedLibrary();
    FT_Face face = nullptr;
    ~FaceHolder() {
        if (face) FT_Done_Face(face);
    }
};

FontInstance::FontInstance(const LOGFONTA& lf) : face_(std::make_unique<FaceHolder>()) {
    const ResolvedFont resolved = ResolveFont(FaceNameOf(lf), lf.lfWeight, lf.lfItalic != 0);
    if (FT_New_Face(face_->library->get(), resolved.file.c_str(), resolved.index, &face_->face) != 0) {
        face_->face = nullptr;
        throw std::runtime_error("FreeType cannot open " + resolved.file);
    }
    FT_Face face = face_->face;
    file_ = resolved.file;
    emboldened_ = resolved.emboldened;
    slanted_ = resolved.slanted;
    underline_ = lf.lfUnderline != 0;
    strikeOut_ = lf.lfStrikeOut != 0;

    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    const int upem = face->units_per_EM > 0 ? face->units_per_EM : 2048;
    int ascentUnits = face->ascender;
    int descentUnits = -face->descender;
    if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
        ascentUnits = os2->usWinAscent;
        descentUnits = os2->usWinDescent;
    }
    ppem_ = Clamp(PixelsPerEmFor(lf.lfHeight, upem, ascentUnits + descentUnits), 1, kMaxPixelsPerEm);
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(ppem_)) != 0) {
        throw std::runtime_error("FreeType cannot size " + resolved.file);
    }

    FontMetrics& m = metrics_;
    m.ascent = MulDivRound(ascentUnits, ppem_, upem);
    m.descent = MulDivRound(descentUnits, ppem_, upem);
    m.height = m.ascent + m.descent;
    // Scaled from font units, not the difference of the rounded ascent and descent.
    m.internalLeading = std::max(0, MulDivRound(ascentUnits + descentUnits - upem, ppem_, upem));
    if (hhea) {
        const int gap = hhea->Line_Gap - ((ascentUnits + descentUnits) - (hhea->Ascender - hhea->Descender));
        m.externalLeading = std::max(0, MulDivRound(gap, ppem_, upem));
    }
    m.aveCharWidth = os2 && os2->version != 0xFFFF ? MulDivRound(os2->xAvgCharWidth, ppem_, upem) : ppem_ / 2;
    m.maxCharWidth = MulDivRound(static_cast<int>(face->bbox.xMax - face->bbox.xMin), ppem_, upem);
    if (emboldened_) {
        ++m.aveCharWidth;
        ++m.maxCharWidth;
    }
    m.weight = lf.lfWeight > 0 ? lf.lfWeight : FW_NORMAL;

    m.underlineThickness = std::max(1, MulDivRound(face->underline_thickness, ppem_, upem));
    // FreeType gives the centre of the stroke; GDI keeps it at least one row below the baseline.
    const int centre = MulDivRound(-face->underline_position, ppem_, upem);
    m.underlineOffset = Clamp(centre - m.underlineThickness / 2, 1, std::max(1, m.descent - m.underlineThickness));
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        m.strikeoutThickness = std::max(1, MulDivRound(os2->yStrikeoutSize, ppem_, upem));
        m.strikeoutOffset = MulDivRound(os2->yStrikeoutPosition, ppem_, upem);
    } else {
        m.strikeoutThickness = m.underlineThickness;
        m.strikeoutOffset = m.ascent / 3;
    }
}

FontInstance::~FontInstance() = default;

const Glyph& FontInstance::Rasterise(unsigned char c) {
    FT_Face face = face_->face;
    Glyph glyph;
    const char32_t cp = AnsiToCodePoint(c);
    const FT_UInt index = FT_Get_Char_Index(face, cp);
    // A character the font does not map, a control character among them, is the font's
    // default glyph, with its width, as GDI measures and draws it.
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) == 0) {
        FT_GlyphSlot slot = face->glyph;
        if (slanted_) FT_GlyphSlot_Oblique(slot);
        // The design advance scaled and rounded to whole pixels: hinting moves the outlines onto
        // the grid but, as in GDI with these fonts, leaves the widths metric-compatible.
        FT_Fixed units = 0;
        if (FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &units) == 0) {
            glyph.advance = static_cast<int>((FT_MulFix(units, face->size->metrics.x_scale) + 32) >> 6);
        } else {
            glyph.advance = static_cast<int>((slot->linearHoriAdvance + 0x8000) >> 16);
        }
        if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO &&
            slot->bitmap.pitch > 0) {
            glyph.runs = RunsFromMonoBitmap(slot->bitmap.buffer, static_cast<int>(slot->bitmap.width),
                                            static_cast<int>(slot->bitmap.rows), slot->bitmap.pitch,
                                            slot->bitmap_left, slot->bitmap_top);
        }
    }
    if (emboldened_) {
        // GDI's synthetic bold: the glyph ORed with itself one pixel to the right, one pixel wider.
        for (InkRun& r : glyph.runs) ++r.x1;
        ++glyph.advance;
    }
    advances_[c] = glyph.advance;
    advanceReady_[c] = true;
    return cache_.Store(c, std::move(glyph));
}

void FontInstance::PrepareAdvances(std::string_view text) {
    for (char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        if (!advanceReady_[c]) GlyphFor(c);
    }
}

int FontInstance::TextWidth(std::string_view text) {
    PrepareAdvances(text);
    long long width = 0;
    for (char ch : text) width += advances_[static_cast<unsigned char>(ch)];
    return static_cast<int>(std::min<long long>(width, kMaxExtent));
}

LineInk* FontInstance::InkOf(std::string_view text) {
    // Longer lines are drawn glyph by glyph: sorting their runs costs more than it saves once.
    constexpr std::size_t kLongestKept = 256;
    if (text.size() > kLongestKept) return nullptr;
    // An empty text matches a slot never used, whose ink is empty too.
    for (KeptLine& kept : lines_)
        if (kept.text == text) return &kept.ink;
    std::vector<LineRun> placed;
    int penX = 0;
    for (char ch : text) {
        const Glyph& g = GlyphFor(static_cast<unsigned char>(ch));
        for (const InkRun& r : g.runs) placed.push_back({r.y, penX + r.x0, penX + r.x1});
        penX += g.advance;
    }
    KeptLine& slot = lines_[nextLine_];
    nextLine_ = (nextLine_ + 1) % lines_.size();
    slot.text.assign(text);
    slot.ink = MergeLineRuns(std::move(placed));
    return &slot.ink;
}

const std::vector<LaidLine>* FontInstance::LayoutOf(std::string_view text, UINT format, int maxWidth) {
    constexpr std::size_t kLongestKept = 1024;
    if (text.size() > kLongestKept) return nullptr;
    // Only these bits of the format change the lines.
    format &= DT_WORDBREAK | DT_SINGLELINE | DT_NOPREFIX | DT_CENTER | DT_RIGHT;
    for (const KeptLayout& kept : layouts_)
        if (kept.made && kept.format == format && kept.maxWidth == maxWidth && kept.text == text) return &kept.lines;
    PrepareAdvances(text);
    KeptLayout& slot = layouts_[nextLayout_];
    nextLayout_ = (nextLayout_ + 1) % layouts_.size();
    slot.lines = LayOutText(text, format, maxWidth, advances_);
    slot.text.assign(text);
    slot.format = format;
    slot.maxWidth = maxWidth;
    slot.made = true;
    return &slot.lines;
}

std::shared_ptr<FontInstance> FontForLogFont(const LOGFONTA& lf) {
    using Key = std::tuple<std::string, int, int, bool, bool, bool>;
    // Realised fonts are shared between font objects with the same drawing fields. Font objects
    // keep their instance alive, so the map may forget instances once it grows large.
    static std::map<Key, std::shared_ptr<FontInstance>> realised;
    constexpr std::size_t kMaxRemembered = 64;
    Key key{std::string(FaceNameOf(lf)), lf.lfHeight, lf.lfWeight, lf.lfItalic != 0, lf.lfUnderline != 0,
            lf.lfStrikeOut != 0};
    if (auto it = realised.find(key); it != realised.end()) return it->second;
    std::shared_ptr<FontInstance> font;
    try {
        font = std::make_shared<FontInstance>(lf);
    } catch (const std::exception&) {
        return nullptr;
    }
    if (realised.size() >= kMaxRemembered) realised.clear();
    realised.emplace(std::move(key), font);
    return font;
}

}  // namespace gdi::text
