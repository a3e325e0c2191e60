#include <fontconfig/fontconfig.h>

#include <map>
#include <memory>
#include <stdexcept>
#include <tuple>

#include "gdi/Font.h"
#include "gdi/Text.h"

namespace gdi::text {
namespace {

// GDI's default GUI face; fontconfig's own default would be a much wider sans.
constexpr std::string_view kDefaultFace = "MS Sans Serif";
// GDI synthesises bold from this weight up when the family has no bold face.
constexpr int kBoldFrom = 600;

struct PatternDeleter {
    void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using Pattern = std::unique_ptr<FcPattern, PatternDeleter>;

struct ConfigDeleter {
    void operator()(FcConfig* c) const { FcConfigDestroy(c); }
};

// Our own fontconfig configuration rather than the library's global one, so that it is
// released at exit and nothing else in the process sees our use of it.
FcConfig* Config() {
    static const std::unique_ptr<FcConfig, ConfigDeleter> config(FcInitLoadConfigAndFonts());
    if (!config) throw std::runtime_error("fontconfig could not be initialised");
    return config.get();
}

ResolvedFont Match(const std::string& familyUtf8, int weight, bool italic) {
    FcConfig* config = Config();
    Pattern pattern(FcPatternCreate());
    if (!pattern) throw std::runtime_error("fontconfig: out of memory");
    FcPatternAddString(pattern.get(), FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
    FcPatternAddInteger(pattern.get(), FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern.get(), FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern.get(), FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern.get(), FcMatchPattern);
    FcDefaultSubstitute(pattern.get());
    FcResult result = FcResultNoMatch;
    Pattern match(FcFontMatch(config, pattern.get(), &result));
    FcChar8* file = nullptr;
    if (!match || FcPatternGetString(match.get(), FC_FILE, 0, &file) != FcResultMatch || !file) {
        throw std::runtime_error("fontconfig found no font for \"" + familyUtf8 + "\"");
    }
    ResolvedFont out;
    out.file = reinterpret_cast<const char*>(file);
    int index = 0;
    if (FcPatternGetInteger(match.get(), FC_INDEX, 0, &index) == FcResultMatch) out.index = index;
    int matchedWeight = FC_WEIGHT_REGULAR;
    FcPatternGetInteger(match.get(), FC_WEIGHT, 0, &matchedWeight);
    int matchedSlant = FC_SLANT_ROMAN;
    FcPatternGetInteger(match.get(), FC_SLANT, 0, &matchedSlant);
    out.emboldened = weight >= kBoldFrom && matchedWeight < FC_WEIGHT_DEMIBOLD;
    out.slanted = italic && matchedSlant == FC_SLANT_ROMAN;
    return out;
}

}  // namespace

ResolvedFont ResolveFont(std::string_view faceName, int weight, bool italic) {
    if (faceName.empty()) faceName = kDefaultFace;
    if (weight <= 0) weight = FW_NORMAL;
    if (weight > 1000) weight = 1000;
    // Matching costs about a millisecond; a button rebuilds its font on every font change.
    static std::map<std::tuple<std::string, int, bool>, ResolvedFont> cache;
    auto key = std::make_tuple(std::string(faceName), weight, italic);
    if (auto it = cache.find(key); it != cache.end()) return it->second;
    ResolvedFont found = Match(AnsiToUtf8(faceName), weight, italic);
    cache.emplace(std::move(key), found);
    return found;
}

}  // namespace gdi::text

namespace gdi {

std::string ResolveFontFile(std::string_view faceName, int weight, bool italic) {
    return text::ResolveFont(faceName, weight, italic).file;
}

}  // namespace gdi
