// The main window's logic: load, relay switch, exit, EchoLink's events, chat relay, manual send
// and help panel. Owns `oEchoLink` and the last chat message; the host owns the widgets.
#pragma once

#include <atomic>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "echolink/EchoLink.h"
#include "echolink/EchoLinkRef.h"
#include "relay/ChatLineRules.h"
#include "relay/FormControls.h"
#include "relay/Log.h"
#include "relay/Pause.h"
#include "relay/ProgramHost.h"
#include "relay/Speech.h"
#include "relay/Texts.h"
#include "relay/TransmitGuard.h"

namespace relay {

// Everything outside the window logic; each must outlive the Form1 it is given to.
struct Form1Services {
    echolink::EchoLinkFactory& echoLink;
    FormControls& controls;
    SpeechEngine& speech;
    Pause& pause;
    ProgramHost& program;
    Log* log = nullptr;  // standard error when null
    // Tests shorten it; the program always runs with the constant.
    std::chrono::milliseconds transmitLimit = kTransmitLimit;
    // Armed at every keying, disarmed once the relay has unkeyed; none in tests that do not ask.
    TransmitGuard* guard = nullptr;
};

class Form1 final : public echolink::ChatEvents {
public:
    explicit Form1(const Form1Services& services);
    Form1(const Form1&) = delete;
    Form1& operator=(const Form1&) = delete;

    // The load handler; runs once, before the window is first shown.
    void Load();
    // The Click event of the button so named ("ligar", "sair", ...). Returns false when the
    // name is not one of this window's buttons or the window takes no input now.
    bool Click(std::string_view buttonName);
    // The window's close box: ends the program without any announcement.
    void CloseBox();
    // From any thread, when the program is told to end (a signal, the session ending): no chat
    // line or button acts from now on; the host then runs CloseBox on the window's thread.
    void AskToEnd() { endAsked_.store(true); }

    // oEchoLink's events. A line given without a stamp arrived when its handler starts.
    void ChatTextReceived(const std::string& line) override;
    void ChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) override;
    // Writes the notice of chat lines dropped since the last one; hosts call it when idle, so a
    // run of dropped lines is told once it has ended.
    void FlushNotices();
    void Closing() override;

    // The relay is on exactly when the red lamp is visible; there is no flag of its own.
    bool RelayOn() const;
    const std::string& MessageText() const { return messageText_; }
    bool HasEchoLink() const { return !oEchoLink_.Empty(); }

private:
    void LigarClick();
    void DesligarClick();
    void SairClick();
    void LocalClick();
    void RemotoClick();
    void AAjudaClick();
    void FAjudaClick();
    void SobreClick();

    void ShowLamps(bool on);
    // What a speech cut at the transmitter's limit leaves for the notice written after the unkeying.
    struct TimeOut {
        std::chrono::milliseconds keyedFor{0};
        std::optional<std::size_t> spoken;
    };
    void SpeakChatLine(std::unique_ptr<Voice>& voice, std::string_view sender);
    // The guard first, then SetTransmit(true).
    void Key(std::chrono::milliseconds limit);
    // Speaks on a new voice held in `voice`, stopping it once the transmitter keyed at `keyedAt`
    // reaches `limit`; returns what was cut when it had to stop it.
    std::optional<TimeOut> Speak(std::unique_ptr<Voice>& voice, std::string_view text,
                                 std::chrono::milliseconds keyedAt, std::chrono::milliseconds limit);
    // SetTransmit(false), tried once more when it fails while the station is still there; the
    // guard is disarmed once the station has answered or is gone. True when it has.
    bool Unkey();
    void LogTimeOut(std::string_view text, std::string_view sender, std::chrono::milliseconds limit,
                    const TimeOut& timeOut);
    // Where notices go: the host's log, else standard error.
    Log& Notices() { return services_.log != nullptr ? *services_.log : standardError_; }
    void ExitSteps();

    Form1Services services_;
    StandardErrorLog standardError_;
    echolink::EchoLinkRef oEchoLink_;
    std::string messageText_;
    ChatLineRules rules_;
    DropNotices drops_;
    // The About window is modal: the main window's buttons do not react while it is up, whatever
    // the host's own modality does.
    int modalDepth_ = 0;
    // Once the program is ending, events still queued in the host change nothing, so the
    // switch-off announcement is never posted twice.
    bool ending_ = false;
    std::atomic<bool> endAsked_{false};
};

}  // namespace relay
