// Renders chosen buttons of a stored description into face pictures for the render tool, on the
// headless host and offscreen window services. Owns the host and control of each render while it runs.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "buttons/FaceState.h"
#include "forms/Description.h"
#include "gdi/Handles.h"

namespace tools {

using buttons::FaceState;

struct RenderRequest {
    FaceState state = FaceState::Idle;
    std::optional<bool> value;   // Value True/False for check and option buttons; unset: as stored
    int width = 0;               // 0: from the control's Width and Height in twips (a slant shape may
                                 // widen it when it loads; the picture has the loaded width)
    int height = 0;
    bool designTime = false;     // the host's user-mode flag False
};

// Every Button of the tree, depth first.
std::vector<const forms::Control*> FindButtons(const forms::Control& root);

// Twips to the nearest pixel at 15 twips a pixel (96 dots per inch); 15 being odd, there is no tie.
int TwipsToPixels(std::int32_t twips);

// Renders one Button control of doc into a new 32 bpp bitmap (owned by the caller). Pixels outside
// the button's window region take the container's back colour, as the screen would show them.
// Throws forms::FormatError for a bad description and std::invalid_argument for a bad request.
gdi::OwnedBitmap RenderFace(const forms::Document& doc, const forms::Control& button, const RenderRequest& request);

}  // namespace tools
