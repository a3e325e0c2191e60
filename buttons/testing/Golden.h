// The one comparison of a drawn button face with its reviewed PNG image: exact pixels, an optional
// box left out of the comparison, a rewrite switch and a diff image on mismatch. Owns nothing.
#pragma once

#include <filesystem>
#include <string>

#include "gdi/Handles.h"
#include "gdi/Types.h"

namespace buttons::testing {

// Compares actual (32 bpp) with folder/name.png and returns "" when every pixel outside ignored
// matches, else a message naming the count and the diff image (red where pixels differ), written
// with the actual face to the temp folder. With DIZO_UPDATE_GOLDEN=1 it rewrites the image instead
// (on Linux only: the images hold our own engine's text).
std::string CompareWithGolden(const std::filesystem::path& folder, const std::string& name, gdi::HBITMAP actual,
                              const gdi::RECT* ignored = nullptr);

}  // namespace buttons::testing
