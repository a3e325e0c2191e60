// dizo-chat: the Linux desktop program. Its windows come from the stored descriptions found from
// the program's own folder (installed or in the build tree); EchoLink is the station on the session bus.
#include "hosts/qt/DesktopMain.h"
#include "relay/Texts.h"

int main(int argc, char** argv) {
    return hosts::qt::RunDesktopProgram(argc, argv, {DIZO_DATA_FROM_PROGRAM, relay::kTransmitLimit});
}
