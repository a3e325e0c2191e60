// The fixed texts and sizes the main window's handlers use: announcements, chat endings, window sizes.
// UTF-8; "á" is the two bytes C3 A1.
#pragma once

#include <string_view>

namespace relay {

inline constexpr std::string_view kAnnounceOn = " Dizo chat est\xC3\xA1 ligado...";
inline constexpr std::string_view kAnnounceOff = " Dizo chat est\xC3\xA1 desligado.";

// What the remote send appends so that a far station's relay plays the text.
inline constexpr std::string_view kMorseEnding = ">";
inline constexpr std::string_view kSpeechEnding = " =";

inline constexpr int kPauseBeforeSpeechMs = 1000;

// Outer window sizes in twips, with and without the help panel.
inline constexpr int kWidthHelpShown = 11790;
inline constexpr int kWidthHelpHidden = 6420;
inline constexpr int kWindowHeight = 8055;

// The author's web page the About window opens; a server of the author's own with its port.
inline constexpr std::string_view kAuthorPage = "http://qd4rv.example.net:8080/";

}  // namespace relay
