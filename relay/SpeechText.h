// Text handed to a speech engine, from any station: made plain text that no engine can take as a
// command, for every back-end alike. Pure function; engines are also told to read literally.
#pragma once

#include <string>
#include <string_view>

namespace relay {

// Each control character (C0, DEL and C1; tabs, line ends, U+2028 and U+2029 among them), each
// NUL and each byte that is not valid UTF-8 becomes one blank: espeak-ng obeys its own commands
// after byte 0x01 whatever it is told, and a NUL would cut a C string short. Everything else,
// markup-looking text included, is kept exactly.
std::string SpeakableText(std::string_view utf8);

}  // namespace relay
