#include "hosts/win32/EmbeddedFiles.h"

#include <map>
#include <stdexcept>
#include <string>

#include "hosts/wide/WideText.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

using Table = std::map<std::string, std::span<const std::uint8_t>>;

// Resource names are the files' paths below the program's forms folder ("ART/DIZO.ICO"). A
// resource stays mapped for the life of the program, so its bytes are read where they lie.
BOOL CALLBACK AddOne(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR param) {
    if (IS_INTRESOURCE(name)) return TRUE;
    const HRSRC found = ::FindResourceW(module, name, type);
    const HGLOBAL loaded = found ? ::LoadResource(module, found) : nullptr;
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (data == nullptr) return TRUE;
    reinterpret_cast<Table*>(param)->emplace(
        wide::Narrow(name), std::span<const std::uint8_t>(static_cast<const std::uint8_t*>(data),
                                                          static_cast<std::size_t>(::SizeofResource(module, found))));
    return TRUE;
}

Table Resources() {
    Table table;
    ::EnumResourceNamesW(nullptr, reinterpret_cast<LPCWSTR>(RT_RCDATA), &AddOne, reinterpret_cast<LONG_PTR>(&table));
    if (table.empty()) throw std::runtime_error("the program carries none of its files");
    return table;
}

std::filesystem::path ProgramPath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n == 0) return std::filesystem::path(L"dizo-chat.exe");
        if (n < path.size()) {
            path.resize(n);
            return std::filesystem::path(path);
        }
        path.resize(path.size() * 2);
    }
}

}  // namespace

EmbeddedFiles::EmbeddedFiles() : carried_(ProgramPath(), Resources()) {}

}  // namespace hosts::win32
