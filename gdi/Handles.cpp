// Kind queries, checked casts and kind-aware deletion for handles of any kind.
#include "Handles.h"

#include "Dc.h"
#include "Image.h"
#include "Objects.h"
#include "Table_p.h"

namespace gdi {

namespace {
template <ObjectKind K>
constexpr ObjectKind KindOfHandle(const Handle<K>*) {
    return K;
}
}  // namespace

ObjectKind GetObjectType(HGDIOBJ h) { return detail::KindOf(h.value); }

template <class H>
H HandleCast(HGDIOBJ h) {
    constexpr ObjectKind k = KindOfHandle(static_cast<const H*>(nullptr));
    return detail::KindOf(h.value) == k ? H(h.value) : H{};
}

template HDC HandleCast<HDC>(HGDIOBJ);
template HBITMAP HandleCast<HBITMAP>(HGDIOBJ);
template HPEN HandleCast<HPEN>(HGDIOBJ);
template HBRUSH HandleCast<HBRUSH>(HGDIOBJ);
template HFONT HandleCast<HFONT>(HGDIOBJ);
template HRGN HandleCast<HRGN>(HGDIOBJ);
template HICON HandleCast<HICON>(HGDIOBJ);

bool DestroyHandle(HGDIOBJ h) {
    switch (detail::KindOf(h.value)) {
        case ObjectKind::Dc: return DeleteDC(HDC(h.value)) != FALSE;
        case ObjectKind::Icon: return DestroyIcon(HICON(h.value)) != FALSE;
        case ObjectKind::None: return false;
        default: return DeleteObject(h) != FALSE;
    }
}

}  // namespace gdi
