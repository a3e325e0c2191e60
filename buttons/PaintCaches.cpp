#include "buttons/PaintCaches.h"

#include "buttons/CaptionLayout.h"
#include "gdi/Text.h"

namespace buttons {

const std::string& KeptCaption::For(const std::string& caption) {
    if (from_ != caption) {
        converted_ = gdi::Utf8ToAnsi(CaptionWithLineBreaks(caption));
        from_ = caption;
    }
    return converted_;
}

}  // namespace buttons
