// The one error of the window description format: what went wrong, and where (file, line, key).
// Owns only its message.
#pragma once

#include <stdexcept>
#include <string>

namespace forms {

class FormatError : public std::runtime_error {
public:
    // line 0: no line applies (e.g. the file could not be read); key empty: no key applies.
    FormatError(std::string file, int line, std::string key, const std::string& what);

    const std::string& File() const { return file_; }
    int Line() const { return line_; }
    const std::string& Key() const { return key_; }
    // The message without the location prefix.
    const std::string& Reason() const { return reason_; }

private:
    std::string file_;
    int line_;
    std::string key_;
    std::string reason_;
};

}  // namespace forms
