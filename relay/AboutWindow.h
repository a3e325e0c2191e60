// The About window `sobre_`'s logic: "Retornar" closes it, "Visitar servidor QD4RV" opens the
// author's web page in the default browser. Owns nothing; the host owns the window.
#pragma once

#include <string_view>

#include "relay/ProgramHost.h"

namespace relay {

class AboutWindow {
public:
    AboutWindow(ProgramHost& program, Shell& shell) : program_(program), shell_(shell) {}

    // The Click event of "retorna" or "servidor"; false for any other name.
    bool Click(std::string_view buttonName);

private:
    ProgramHost& program_;
    Shell& shell_;
};

}  // namespace relay
