// How tests and scripts drive the stand-in EchoLink server: its settings (log file, failing and
// hanging modes) in the registry, and commands sent to the running server's window.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace hosts::com::standin {

// The registry key under HKEY_CURRENT_USER that holds the settings, read by the server on every call.
inline constexpr wchar_t kSettingsKey[] = L"Software\\DizoChat\\EchoLinkStandIn";
inline constexpr wchar_t kLogSetting[] = L"Log";              // path of the call log (UTF-8 lines)
inline constexpr wchar_t kFailSetting[] = L"Fail";            // 1: every operation returns E_FAIL
inline constexpr wchar_t kFailCreateSetting[] = L"FailCreate"; // 1: creating the object fails
inline constexpr wchar_t kHangSetting[] = L"HangMs";          // each operation first waits this long
inline constexpr wchar_t kHangCreateSetting[] = L"HangCreateMs"; // creating the object first waits this long
inline constexpr wchar_t kStampSetting[] = L"Stamps";         // 1: each log line starts with a time in ms

// The running server's message-only window, which takes commands as WM_COPYDATA text.
inline constexpr wchar_t kCommandWindowClass[] = L"DizoChatEchoLinkStandIn";

std::optional<std::wstring> ReadSetting(const wchar_t* name);
bool WriteSetting(const wchar_t* name, const std::wstring& value);
unsigned long NumberSetting(const wchar_t* name);

// Appends one line to the call log (when one is set), at once, so a reader sees it immediately.
// With stamps on, the line begins with the system's monotonic millisecond count and a blank, the
// same clock in every process, so lines of the server and of a test's fakes can be timed together.
void AppendLog(std::string_view line);
// `text` in double quotes, with `"`, `\`, CR, LF and other control characters written as escapes.
std::string Quoted(std::string_view text);

// Sends one command line ("say TEXT", "close", "crash") to the running server; false when no
// server runs. Returns once the server has queued it; the event follows from its message loop.
bool SendCommand(const std::wstring& command);

}  // namespace hosts::com::standin
