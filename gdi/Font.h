// Fonts of the text engine: a LOGFONT resolved through fontconfig and opened at one pixel size
// with FreeType. Owns the FreeType library, the fontconfig match cache, faces and glyph caches.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

#include "Glyph.h"
#include "TextLayout.h"
#include "Objects.h"
#include "Types.h"

namespace gdi::text {

// What fontconfig chose for a face name, and what FreeType must synthesise because the
// chosen file lacks it (GDI emboldens and slants a regular face the same way).
struct ResolvedFont {
    std::string file;
    int index = 0;
    bool emboldened = false;
    bool slanted = false;
};

// faceName is Windows-1252, as it sits in lfFaceName; an empty name means the default GUI face.
// Throws std::runtime_error when fontconfig finds no font file at all.
ResolvedFont ResolveFont(std::string_view faceName, int weight, bool italic);

// Text extents and positions are kept within this many pixels, far beyond any surface, so that
// no sum of advances or coordinates can overflow.
constexpr int kMaxExtent = 1 << 28;

struct FontMetrics {
    int ascent = 0;
    int descent = 0;
    int height = 0;  // ascent + descent: the line height of DrawTextA
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    int underlineOffset = 0;  // rows below the baseline to the top of the underline
    int underlineThickness = 1;
    int strikeoutOffset = 0;  // rows above the baseline to the top of the strikeout bar
    int strikeoutThickness = 1;
};

// One LOGFONT realised: a FreeType face at a pixel size, with monochrome hinted glyphs
// (GDI's look at lfQuality 0, and deterministic across runs).
class FontInstance {
public:
    // Throws std::runtime_error when the font cannot be opened.
    explicit FontInstance(const LOGFONTA& lf);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    const FontMetrics& Metrics() const { return metrics_; }
    bool Underline() const { return underline_; }
    bool StrikeOut() const { return strikeOut_; }
    const std::string& File() const { return file_; }

    // The glyph of an ANSI byte, rasterised on first use and cached after.
    const Glyph& GlyphFor(unsigned char c) {
        if (const Glyph* g = cache_.Find(c)) return *g;
        return Rasterise(c);
    }
    // Advances of every byte of text made ready, so the layout can read Advances() directly.
    void PrepareAdvances(std::string_view text);
    const std::array<int, 256>& Advances() const { return advances_; }
    int TextWidth(std::string_view text);
    // The ink of a line of text, kept for the last few lines drawn (a caption is drawn once for
    // each pass of its effect on every redraw); null for a line too long to be worth keeping.
    LineInk* InkOf(std::string_view text);
    // DrawTextA's lines of a text in a rectangle maxWidth wide, kept for the last few texts laid
    // out with this font (a caption is laid out again on every redraw); null for a long text.
    const std::vector<LaidLine>* LayoutOf(std::string_view text, UINT format, int maxWidth);

private:
    const Glyph& Rasterise(unsigned char c);

    struct FaceHolder;
    std::unique_ptr<FaceHolder> face_;
    std::string file_;
    int ppem_ = 0;
    bool emboldened_ = false;
    bool slanted_ = false;
    bool underline_ = false;
    bool strikeOut_ = false;
    FontMetrics metrics_;
    GlyphCache cache_;
    std::array<int, 256> advances_{};
    std::array<bool, 256> advanceReady_{};
    struct KeptLine {
        std::string text;
        LineInk ink;
    };
    std::array<KeptLine, 4> lines_;
    std::size_t nextLine_ = 0;
    struct KeptLayout {
        std::string text;
        UINT format = 0;
        int maxWidth = 0;
        bool made = false;
        std::vector<LaidLine> lines;
    };
    std::array<KeptLayout, 4> layouts_;
    std::size_t nextLayout_ = 0;
};

// The realised font of a LOGFONT, shared by every font object with the same fields that
// matter for drawing; null when no font can be opened for it.
std::shared_ptr<FontInstance> FontForLogFont(const LOGFONTA& lf);

// The face name of a LOGFONT: up to the first NUL, never past the 32-byte field.
std::string_view FaceNameOf(const LOGFONTA& lf);

// The em size in pixels GDI gives a LOGFONT height: negative is the em size itself, positive
// the cell height (ascent + descent in the font's own units), 0 the default.
int PixelsPerEmFor(int lfHeight, int unitsPerEm, int cellUnits);

// a * b / c rounded to the nearest integer, halves away from zero (as MulDiv); 0 when c is 0.
int MulDivRound(int a, int b, int c);

}  // namespace gdi::text
