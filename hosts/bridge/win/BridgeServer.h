// The bridge's loopback listener in EchoLink's Wine prefix: one connection at a time, served by
// the channel's session rules over EchoLink's object, its socket events through a hidden window.
// Owns the sockets and the session; borrows the link.
#pragma once

#include <winsock2.h>
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "echolink/EchoLink.h"
#include "hosts/bridge/BridgeSession.h"

namespace hosts::bridge {

class BridgeServer final : public echolink::ChatEvents {
public:
    enum class Outcome { Running, ServiceLeft, EchoLinkGone, EchoLinkClosed };

    using Reporter = std::function<void(const std::string&)>;
    BridgeServer(std::string secret, Reporter report);
    ~BridgeServer() override;
    BridgeServer(const BridgeServer&) = delete;
    BridgeServer& operator=(const BridgeServer&) = delete;

    // Listens on 127.0.0.1:`port` (0: any free one); the port taken, or nothing.
    std::optional<unsigned short> Listen(unsigned short port);
    // EchoLink's object, once attached; its events come to this object.
    void Serve(echolink::EchoLink& link) { link_ = &link; }

    // Drops the connection now; a transmitter it keyed is unkeyed first. For the end of the run,
    // while EchoLink is still held.
    void Stop() { Drop(); }

    // Why the message loop was asked to end (it is, by WM_QUIT, with this as its reason).
    Outcome Ended() const { return outcome_; }

    void ChatTextReceived(const std::string& line) override;
    void Closing() override;

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Accept();
    void Read();
    void Send(const std::string& bytes);
    void Drop();
    void End(Outcome outcome);

    std::string secret_;
    Reporter report_;
    echolink::EchoLink* link_ = nullptr;
    HWND window_ = nullptr;
    SOCKET listener_ = INVALID_SOCKET;
    SOCKET peer_ = INVALID_SOCKET;
    std::unique_ptr<BridgeSession> session_;
    bool reading_ = false;      // inside a call to EchoLink: COM's wait may run our window again
    bool readAgain_ = false;
    bool dropAfterRead_ = false;
    Outcome endAfterRead_ = Outcome::Running;
    Outcome outcome_ = Outcome::Running;
};

}  // namespace hosts::bridge
