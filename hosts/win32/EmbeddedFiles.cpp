#include "hosts/win32/EmbeddedFiles.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

#include "hosts/wide/WideText.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

struct Unpacking {
    std::filesystem::path folder;
    std::size_t count = 0;
    bool failed = false;
};

// Resource names are the files' paths below the program's forms folder ("ART/DIZO.ICO"); the
// platform keeps them upper-case, which its file names do not mind. A name that would leave the
// folder is refused.
BOOL CALLBACK UnpackOne(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    auto& state = *reinterpret_cast<Unpacking*>(param);
    if (IS_INTRESOURCE(name)) return TRUE;
    const std::filesystem::path relative = std::filesystem::path(name).lexically_normal();
    if (relative.is_absolute() || relative.empty() || *relative.begin() == "..") return TRUE;
    const HRSRC found = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) {
        state.failed = true;
        return FALSE;
    }
    const std::filesystem::path target = state.folder / relative;
    std::error_code ec;
    std::filesystem::create_directories(target.parent_path(), ec);
    std::ofstream out(target, std::ios::binary);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(::SizeofResource(module, found)));
    if (!out) {
        state.failed = true;
        return FALSE;
    }
    ++state.count;
    return TRUE;
}

}  // namespace

EmbeddedFiles::EmbeddedFiles() {
    wchar_t temp[MAX_PATH + 1];
    const DWORD n = ::GetTempPathW(MAX_PATH + 1, temp);
    if (n == 0 || n > MAX_PATH) throw std::runtime_error("no folder for temporary files");
    folder_ = std::filesystem::path(std::wstring(temp, n)) /
              (L"dizo-chat-" + std::to_wstring(::GetCurrentProcessId()));
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
    if (!std::filesystem::create_directories(folder_, ec)) {
        throw std::runtime_error("cannot make the folder " + wide::Narrow(folder_.wstring()));
    }
    Unpacking state{folder_};
    ::EnumResourceNamesW(nullptr, reinterpret_cast<LPCWSTR>(RT_RCDATA), &UnpackOne, reinterpret_cast<LONG_PTR>(&state));
    count_ = state.count;
    if (state.failed || count_ == 0) {
        std::filesystem::remove_all(folder_, ec);
        throw std::runtime_error("cannot unpack the program's files into " + wide::Narrow(folder_.wstring()));
    }
}

EmbeddedFiles::~EmbeddedFiles() {
    std::error_code ec;
    std::filesystem::remove_all(folder_, ec);
}

}  // namespace hosts::win32
