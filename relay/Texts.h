// The fixed texts and sizes the main window's handlers use: announcements, chat endings, window sizes.
// UTF-8; "á" is the two bytes C3 A1.
#pragma once

#include <chrono>
#include <string_view>

namespace relay {

inline constexpr std::string_view kAnnounceOn = " Dizo chat est\xC3\xA1 ligado...";
inline constexpr std::string_view kAnnounceOff = " Dizo chat est\xC3\xA1 desligado.";

// What the remote send appends so that a far station's relay plays the text.
inline constexpr std::string_view kMorseEnding = ">";
inline constexpr std::string_view kSpeechEnding = " =";

inline constexpr int kPauseBeforeSpeechMs = 1000;

// The transmitter is never held keyed longer than this (pause and speech together), whatever a
// station sends: the time-out timer every remotely controlled transmitter needs. Not a setting.
inline constexpr std::chrono::milliseconds kTransmitLimit = std::chrono::seconds(180);
// Speech is stopped this long before the limit: time for the voice to fall silent and for the
// unkeying to reach EchoLink, so the transmitter is unkeyed by the limit itself.
inline constexpr std::chrono::milliseconds kStopAllowance = std::chrono::seconds(1);

// Outer window sizes in twips, with and without the help panel.
inline constexpr int kWidthHelpShown = 11790;
inline constexpr int kWidthHelpHidden = 6420;
inline constexpr int kWindowHeight = 8055;

// The author's web page the About window opens; a server of the author's own with its port.
inline constexpr std::string_view kAuthorPage = "http://qd4rv.example.net:8080/";

}  // namespace relay
