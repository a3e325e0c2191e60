// dizo-chat-e2e.exe: the Windows program exactly as shipped but for its voice, which records
// what it says into the stand-in EchoLink's log (SAPI under Wine cannot speak). Tests only.
//   dizo-chat-e2e [/limit SECONDS] [/wedged]   a shorter transmit limit; a voice whose stop blocks
#include <chrono>
#include <memory>
#include <string>
#include <vector>

#include "hosts/win32/ProgramMain.h"
#include "hosts/win32/ProgramServices.h"
#include "hosts/win32/e2e/RecordingSpeech.h"

#include <windows.h>
#include <shellapi.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    std::chrono::milliseconds limit = relay::kTransmitLimit;
    bool wedged = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        if (args[i] == L"/limit" && i + 1 < args.size()) limit = std::chrono::seconds(std::stoi(args[++i]));
        if (args[i] == L"/wedged") wedged = true;
    }
    auto speech = std::make_unique<hosts::win32::e2e::RecordingSpeech>(std::chrono::milliseconds(50), wedged);
    // The guard's audio stop is recorded too, so the scenarios see it follow the unkeying.
    auto* voices = speech.get();
    hosts::win32::ProgramServices services(std::move(speech), [voices] { voices->SilenceAll(); }, limit);
    return hosts::win32::RunProgram(instance, services);
}
