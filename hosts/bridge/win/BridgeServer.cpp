#include "hosts/bridge/win/BridgeServer.h"

#include <ws2tcpip.h>

namespace hosts::bridge {

namespace {

constexpr UINT kSocketMessage = WM_APP + 7;
constexpr UINT_PTR kHelloTimer = 1;
constexpr UINT_PTR kClosingTimer = 2;
// A connection that has not proved the secret by then is dropped, so no one holds the one place.
constexpr UINT kHelloMs = 2000;
// After EchoLink's Closing the program still posts its farewell, within its own 2 s bound.
constexpr UINT kClosingGraceMs = 3000;
constexpr wchar_t kWindowClass[] = L"DizoChatEchoLinkBridge";

}  // namespace

BridgeServer::BridgeServer(std::string secret, Reporter report)
    : secret_(std::move(secret)), report_(std::move(report)) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);
    // Message-only: nothing is ever shown.
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

BridgeServer::~BridgeServer() {
    Drop();
    if (listener_ != INVALID_SOCKET) closesocket(listener_);
    if (window_ != nullptr) DestroyWindow(window_);
}

std::optional<unsigned short> BridgeServer::Listen(unsigned short port) {
    listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (listener_ == INVALID_SOCKET || window_ == nullptr) return std::nullopt;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    // Loopback only: nothing from another machine can reach the transmitter.
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int size = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), size) != 0 || listen(listener_, 4) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0 ||
        WSAAsyncSelect(listener_, window_, kSocketMessage, FD_ACCEPT) != 0) {
        return std::nullopt;
    }
    return ntohs(address.sin_port);
}

void BridgeServer::Accept() {
    const SOCKET incoming = accept(listener_, nullptr, nullptr);
    if (incoming == INVALID_SOCKET) return;
    if (peer_ != INVALID_SOCKET || link_ == nullptr) {
        closesocket(incoming);  // one service at a time
        return;
    }
    peer_ = incoming;
    const BOOL noDelay = TRUE;
    setsockopt(peer_, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay), sizeof noDelay);
    session_ = std::make_unique<BridgeSession>(secret_, *link_);
    WSAAsyncSelect(peer_, window_, kSocketMessage, FD_READ | FD_CLOSE);
    SetTimer(window_, kHelloTimer, kHelloMs, nullptr);
}

void BridgeServer::Read() {
    if (peer_ == INVALID_SOCKET) return;
    if (reading_) {
        readAgain_ = true;  // after the call under way; the calls keep their order
        return;
    }
    std::string bytes;
    char buffer[8192];
    int n = 0;
    while ((n = recv(peer_, buffer, sizeof buffer, 0)) > 0) bytes.append(buffer, static_cast<std::size_t>(n));
    if (bytes.empty()) return;  // the close, if that is what it was, comes as FD_CLOSE
    reading_ = true;
    const bool wasIn = session_->Authenticated();
    const auto reply = session_->Receive(bytes);
    reading_ = false;
    Send(reply.bytes);
    if (!wasIn && session_->Authenticated()) {
        KillTimer(window_, kHelloTimer);
        report_("the service proved the secret");
    }
    if (reply.refusal != Refusal::None) report_(std::string("refused the service's input: ") + Describe(reply.refusal));
    if (reply.echoLinkGone) {
        report_("EchoLink's object is gone");
        End(Outcome::EchoLinkGone);
    } else if (reply.end || dropAfterRead_) {
        dropAfterRead_ = false;
        const bool wasServing = session_->Authenticated();
        Drop();
        if (wasServing) End(Outcome::ServiceLeft);
        if (endAfterRead_ != Outcome::Running) End(endAfterRead_);
    } else if (endAfterRead_ != Outcome::Running) {
        End(endAfterRead_);
    } else if (readAgain_) {
        readAgain_ = false;
        PostMessageW(window_, kSocketMessage, peer_, FD_READ);
    }
}

void BridgeServer::Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size() && peer_ != INVALID_SOCKET) {
        const int n = send(peer_, bytes.data() + sent, static_cast<int>(bytes.size() - sent), 0);
        if (n > 0) {
            sent += static_cast<std::size_t>(n);
        } else if (WSAGetLastError() == WSAEWOULDBLOCK) {
            // A service that stops reading costs at most a second per write, then is dropped.
            fd_set writable;
            FD_ZERO(&writable);
            FD_SET(peer_, &writable);
            timeval wait{1, 0};
            if (select(0, nullptr, &writable, nullptr, &wait) <= 0) break;
        } else {
            break;
        }
    }
}

// The session goes first, so a transmitter it keyed is unkeyed while EchoLink is still held.
void BridgeServer::Drop() {
    KillTimer(window_, kHelloTimer);
    session_.reset();
    if (peer_ != INVALID_SOCKET) closesocket(peer_);
    peer_ = INVALID_SOCKET;
}

void BridgeServer::End(Outcome outcome) {
    if (outcome_ != Outcome::Running) return;
    if (reading_) {
        endAfterRead_ = outcome;  // the session is in use until its call returns
        return;
    }
    outcome_ = outcome;
    Drop();
    PostQuitMessage(0);
}

void BridgeServer::ChatTextReceived(const std::string& line) {
    if (!session_) return;
    if (const auto frame = session_->ChatText(line)) {
        Send(*frame);
    } else if (session_->Authenticated()) {
        report_("dropped a chat line the channel cannot carry whole");
    }
}

void BridgeServer::Closing() {
    if (session_) {
        if (const auto frame = session_->Closing()) Send(*frame);
    }
    report_("EchoLink is closing");
    SetTimer(window_, kClosingTimer, kClosingGraceMs, nullptr);
}

LRESULT CALLBACK BridgeServer::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<BridgeServer*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(window, message, wParam, lParam);
    if (message == kSocketMessage) {
        const auto socket = static_cast<SOCKET>(wParam);
        const WORD event = WSAGETSELECTEVENT(lParam);
        if (socket == self->listener_ && event == FD_ACCEPT) self->Accept();
        if (socket == self->peer_ && event == FD_READ) self->Read();
        if (socket == self->peer_ && event == FD_CLOSE) {
            if (self->reading_) {
                self->dropAfterRead_ = true;  // the session is in use until its call returns
                return 0;
            }
            self->Read();  // what came before the close is still served
            const bool wasServing = self->session_ && self->session_->Authenticated();
            self->Drop();
            if (wasServing) self->End(Outcome::ServiceLeft);
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kHelloTimer) {
        KillTimer(window, kHelloTimer);
        if (self->session_ && !self->session_->Authenticated() && !self->reading_) {
            self->report_("dropped a connection that did not prove the secret in time");
            self->Drop();
        }
        return 0;
    }
    if (message == WM_TIMER && wParam == kClosingTimer) {
        KillTimer(window, kClosingTimer);
        self->End(Outcome::EchoLinkClosed);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace hosts::bridge
