// dizo-chat-e2e.exe: the Windows program exactly as shipped but for its voice, which records
// what it says into the stand-in EchoLink's log (SAPI under Wine cannot speak). Tests only.
#include <memory>

#include "hosts/com/standin/StandInControl.h"
#include "hosts/win32/ProgramMain.h"
#include "hosts/win32/ProgramServices.h"
#include "hosts/win32/e2e/RecordingSpeech.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    // The guard's audio stop is recorded too, so the scenarios see it follow the unkeying.
    hosts::win32::ProgramServices services(std::make_unique<hosts::win32::e2e::RecordingSpeech>(),
                                           [] { hosts::com::standin::AppendLog("voice Silence()"); });
    return hosts::win32::RunProgram(instance, services);
}
