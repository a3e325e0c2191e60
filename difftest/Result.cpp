#include "Result.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <istream>
#include <ostream>
#include <sstream>

namespace difftest {

void WriteResult(std::ostream& out, const Result& r) {
    out << "size " << r.width << ' ' << r.height << '\n';
    char buf[8];
    for (int y = 0; y < r.height; ++y) {
        for (int x = 0; x < r.width; ++x) {
            std::snprintf(buf, sizeof buf, "%06x", static_cast<unsigned>(r.At(x, y) & 0xFFFFFF));
            out << (x ? " " : "") << buf;
        }
        out << '\n';
    }
    for (const std::string& rec : r.records) out << "record " << rec << '\n';
    if (!r.error.empty()) out << "error " << r.error << '\n';
    out << "end\n";
}

bool ReadResult(std::istream& in, Result& r, std::string& why) {
    r = Result{};
    std::string word;
    // Dimensions are bounded so a damaged file cannot ask for gigabytes.
    if (!(in >> word >> r.width >> r.height) || word != "size" || r.width < 0 || r.height < 0 ||
        r.width > 4096 || r.height > 4096) {
        why = "no valid size line";
        return false;
    }
    r.pixels.resize(static_cast<std::size_t>(r.width) * r.height);
    for (std::uint32_t& p : r.pixels) {
        if (!(in >> std::hex >> p)) {
            why = "pixel rows are cut short";
            return false;
        }
    }
    in >> std::dec;
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        if (line == "end") return true;
        if (line.rfind("record ", 0) == 0) r.records.push_back(line.substr(7));
        else if (line.rfind("error ", 0) == 0) r.error = line.substr(6);
        else {
            why = "unexpected line '" + line + "'";
            return false;
        }
    }
    why = "no end line: the writer stopped early";
    return false;
}

Comparison Compare(const Result& ours, const Result& theirs, std::size_t keepFirst) {
    Comparison c;
    c.sameSize = ours.width == theirs.width && ours.height == theirs.height;
    if (c.sameSize) {
        for (int y = 0; y < ours.height; ++y)
            for (int x = 0; x < ours.width; ++x) {
                const std::uint32_t a = ours.At(x, y) & 0xFFFFFF, b = theirs.At(x, y) & 0xFFFFFF;
                if (a == b) continue;
                ++c.differing;
                if (c.first.size() < keepFirst) c.first.push_back({x, y, a, b});
            }
    }
    const std::size_t n = std::max(ours.records.size(), theirs.records.size());
    for (std::size_t i = 0; i < n; ++i) {
        const std::string a = i < ours.records.size() ? ours.records[i] : "(none)";
        const std::string b = i < theirs.records.size() ? theirs.records[i] : "(none)";
        if (a != b) c.recordDiffs.push_back("ours: " + a + " | wine: " + b);
    }
    return c;
}

std::string Describe(const Comparison& c) {
    std::ostringstream s;
    if (!c.sameSize) s << "target sizes differ\n";
    if (c.differing) {
        s << c.differing << " pixels differ; first ones (x,y ours wine):\n";
        char buf[64];
        for (const PixelDiff& d : c.first) {
            std::snprintf(buf, sizeof buf, "  (%d,%d) %06x %06x\n", d.x, d.y, static_cast<unsigned>(d.ours),
                          static_cast<unsigned>(d.theirs));
            s << buf;
        }
    }
    for (const std::string& r : c.recordDiffs) s << "  " << r << '\n';
    return s.str();
}

namespace {

bool WriteRgb(const std::string& path, int width, int height, const std::vector<std::uint32_t>& rgb) {
    std::ofstream out(path, std::ios::binary);
    if (!out) return false;
    out << "P6\n" << width << ' ' << height << "\n255\n";
    for (std::uint32_t p : rgb) {
        const char bytes[3] = {static_cast<char>((p >> 16) & 0xFF), static_cast<char>((p >> 8) & 0xFF),
                               static_cast<char>(p & 0xFF)};
        out.write(bytes, 3);
    }
    return static_cast<bool>(out);
}

}  // namespace

bool WritePpm(const std::string& path, const Result& r, int zoom) {
    zoom = std::max(zoom, 1);
    const int w = r.width * zoom, h = r.height * zoom;
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) rgb[static_cast<std::size_t>(y) * w + x] = r.At(x / zoom, y / zoom);
    return WriteRgb(path, w, h, rgb);
}

bool WriteDiffImage(const std::string& path, const Result& ours, const Result& theirs, int zoom) {
    zoom = std::max(zoom, 1);
    const int cw = std::max(ours.width, theirs.width), ch = std::max(ours.height, theirs.height);
    const int gap = 2;  // a grey gutter between the three panels, in source pixels
    const int w = (3 * cw + 2 * gap) * zoom, h = ch * zoom;
    std::vector<std::uint32_t> rgb(static_cast<std::size_t>(w) * h, 0x808080);
    auto pixel = [](const Result& r, int x, int y, std::uint32_t& out) {
        if (x >= r.width || y >= r.height) return false;
        out = r.At(x, y) & 0xFFFFFF;
        return true;
    };
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int sx = x / zoom, sy = y / zoom;
            const int panel = sx / (cw + gap), px = sx % (cw + gap);
            if (px >= cw) continue;
            std::uint32_t a = 0, b = 0, out = 0x808080;
            const bool hasA = pixel(ours, px, sy, a), hasB = pixel(theirs, px, sy, b);
            if (panel == 0 && hasA) out = a;
            else if (panel == 1 && hasB) out = b;
            else if (panel == 2) {
                if (hasA && hasB && a == b) {
                    // Dim the matching pixels so the red differences stand out.
                    out = ((a >> 2) & 0x3F3F3F) + 0x404040;
                } else {
                    out = 0xFF0000;
                }
            }
            rgb[static_cast<std::size_t>(y) * w + x] = out;
        }
    return WriteRgb(path, w, h, rgb);
}

Drift DriftFrom(const Comparison& c, int recordedPixels, int recordedRecords) {
    const int records = static_cast<int>(c.recordDiffs.size());
    if (!c.sameSize || c.differing > recordedPixels || records > recordedRecords) return Drift::Worse;
    return c.differing < recordedPixels || records < recordedRecords ? Drift::Better : Drift::Same;
}

}  // namespace difftest
