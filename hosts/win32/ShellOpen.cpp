#include "hosts/win32/ShellOpen.h"

#include <string>

#include "hosts/wide/WideText.h"

#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

namespace hosts::win32 {

std::intptr_t ShellOpen(win::HWND parent, const relay::ShellOpenRequest& request) {
    // The shell's own documentation asks for a single-threaded apartment. A thread already in an
    // apartment keeps it; only a call that began COM ends it.
    APTTYPE type{};
    APTTYPEQUALIFIER qualifier{};
    const bool none = ::CoGetApartmentType(&type, &qualifier) == CO_E_NOTINITIALIZED;
    const HRESULT com =
        none ? ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE) : S_FALSE;
    const std::string verb = wide::ToAnsi(request.verb);
    const std::string file = wide::ToAnsi(request.file);
    const std::string parameters = wide::ToAnsi(request.parameters);
    const std::string directory = wide::ToAnsi(request.directory);
    const HINSTANCE result = ::ShellExecuteA(reinterpret_cast<::HWND>(parent.value), verb.empty() ? nullptr : verb.c_str(),
                                             file.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                                             directory.empty() ? nullptr : directory.c_str(), request.showCommand);
    if (none && SUCCEEDED(com)) ::CoUninitialize();
    return reinterpret_cast<std::intptr_t>(result);
}

}  // namespace hosts::win32
