// dizo-chat-short-limit: dizo-chat itself with a transmit limit of 6 s, so that the end-to-end
// tests hear real speech cut at the limit in seconds rather than minutes. Never installed.
#include "hosts/qt/DesktopMain.h"

int main(int argc, char** argv) {
    // Beside dizo-chat's folder in the build tree, where its descriptions are linked.
    return hosts::qt::RunDesktopProgram(argc, argv, {"../qt/forms", std::chrono::seconds(6)});
}
