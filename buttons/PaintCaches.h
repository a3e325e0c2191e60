// What a redraw would otherwise work out again on every pass: the face's shading rows, the gradient
// strips' colours and the caption's ANSI text. Owned by the button's render buffer, one set a button.
#pragma once

#include <array>
#include <string>
#include <vector>

#include "gdi/Types.h"

namespace buttons {

// The colours of a face's rows or strips, the last two tables (a face and its rim, or a hovered
// and a plain face, alternate): they depend only on Key, and working them out costs more than
// filling the face.
template <class Key>
class KeptColours {
public:
    // The table for key, made by make(std::vector<COLORREF>&) when neither kept table has that key.
    template <class Make>
    const std::vector<gdi::COLORREF>& For(const Key& key, Make&& make) {
        for (Table& t : tables_)
            if (t.made && t.key == key) return t.colours;
        Table& t = tables_[next_];
        next_ = 1 - next_;
        t.colours.clear();
        make(t.colours);
        t.key = key;
        t.made = true;
        return t.colours;
    }

private:
    struct Table {
        bool made = false;
        Key key{};
        std::vector<gdi::COLORREF> colours;
    };
    std::array<Table, 2> tables_;
    int next_ = 0;
};

struct ShadingKey {
    gdi::COLORREF bg = 0;
    int height = 0;
    friend bool operator==(const ShadingKey&, const ShadingKey&) = default;
};

struct GradientKey {
    gdi::COLORREF start = 0;
    gdi::COLORREF end = 0;
    int count = 0;
    bool startFirst = false;
    friend bool operator==(const GradientKey&, const GradientKey&) = default;
};

// The caption as the ANSI text calls take it, with its line breaks, kept by the caption it came
// from (its only input): every redraw draws the caption again.
class KeptCaption {
public:
    const std::string& For(const std::string& caption);

private:
    // Both start empty, which is already the empty caption's conversion.
    std::string from_;
    std::string converted_;
};

struct PaintCaches {
    KeptColours<ShadingKey> Shading;
    KeptColours<GradientKey> Gradient;
    KeptCaption Caption;
};

}  // namespace buttons
