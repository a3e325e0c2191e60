// Picture size and kind, and drawing bitmaps, icons and cursors on the face (transparent, or
// embossed grey when disabled). Owns only the temporary copies and contexts of one call.
#pragma once

#include "buttons/ButtonHost.h"
#include "buttons/ButtonState.h"

namespace buttons {

// RefreshCache "Picture": PictureWidth, PictureHeight and PictureKind from the Picture property.
void RefreshPictureCache(ButtonState& s);
void DrawPicture(ButtonState& s, ButtonHost& host, const gdi::RECT& rect);
// Colour-keyed copy of a bitmap (key: its top-left pixel), shrunk to fit when larger than the target.
void DrawTransparentBitmap(gdi::HDC dest, const gdi::RECT& destRect, gdi::HBITMAP bitmap, gdi::RECT sourceRect,
                           int width, int height);

}  // namespace buttons
