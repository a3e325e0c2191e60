// dizo-chat.exe: the Windows program. Its windows and artwork are resources of the program itself;
// EchoLink is the automation object of the EchoLink program on the same machine.
#include "hosts/win32/ProgramMain.h"
#include "hosts/win32/ProgramServices.h"

#include <windows.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    hosts::win32::ProgramServices services;
    return hosts::win32::RunProgram(instance, services);
}
