// dizo-echolink-bridge.exe: runs inside EchoLink's Wine prefix, attaches to EchoLink's object as
// the Windows program does, and serves its calls and events to dizo-wine-echolink on the Linux side
// over loopback TCP, to a service that proves the secret only the user's files hold.
//   dizo-echolink-bridge --secret FILE --port-file FILE [--port N]
//   dizo-echolink-bridge --unkey        unkeys EchoLink's transmitter and ends: for a bridge that
//                                       was killed and could not undo its own keying
// Writes the port it listens on into the port file once EchoLink is attached. Ends when the
// service leaves, when EchoLink closes (after a short grace for the farewell), or when EchoLink's
// object is gone.
#include <winsock2.h>
#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <string>
#include <vector>

#include "hosts/bridge/Secret.h"
#include "hosts/bridge/win/BridgeServer.h"
#include "hosts/com/ComEchoLink.h"

namespace {

// Shorter than the service's bound, so a call EchoLink never answers still gets its answer there.
constexpr std::chrono::milliseconds kCallBound{1200};

void Report(const std::string& text) {
    const std::string line = "dizo-echolink-bridge: " + text + "\n";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}

std::optional<std::string> ReadFileText(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    char buffer[256];
    DWORD read = 0;
    const BOOL ok = ReadFile(file, buffer, sizeof buffer, &read, nullptr);
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return std::string(buffer, read);
}

// Written whole under another name and then moved, so a reader never sees half a number.
bool WritePortFile(const std::wstring& path, unsigned short port) {
    const std::wstring temporary = path + L".new";
    HANDLE file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    const std::string text = std::to_string(port) + "\n";
    DWORD written = 0;
    const BOOL ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return ok && MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

// After a bridge was killed mid-line, EchoLink would stay keyed for good: nothing else unkeys it.
int Unkey() {
    struct NoEvents final : echolink::ChatEvents {
        void ChatTextReceived(const std::string&) override {}
        void Closing() override {}
    } events;
    hosts::com::ComEchoLinkFactory factory(kCallBound, hosts::com::ComEchoLinkFactory::kEndTimeout);
    const auto link = factory.Create(events);
    if (!link) {
        Report("error: EchoLink's object cannot be reached to unkey it");
        return 3;
    }
    const echolink::HResult result = link->SetTransmit(false);
    Report(result.Failed() ? "error: EchoLink refused to unkey" : "unkeyed EchoLink's transmitter");
    return result.Failed() ? 3 : 0;
}

int Usage() {
    Report("usage: dizo-echolink-bridge --secret FILE --port-file FILE [--port N] | --unkey");
    return 2;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    const std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    if (args.size() == 2 && args[1] == L"--unkey") return Unkey();
    std::wstring secretPath;
    std::wstring portPath;
    unsigned long port = 0;
    for (std::size_t i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == L"--secret") secretPath = args[i + 1];
        else if (args[i] == L"--port-file") portPath = args[i + 1];
        else if (args[i] == L"--port") port = wcstoul(args[i + 1].c_str(), nullptr, 10);
        else return Usage();
    }
    if (secretPath.empty() || portPath.empty() || port > 65535 || args.size() % 2 == 0) return Usage();

    const auto text = ReadFileText(secretPath);
    const auto secret = text ? hosts::bridge::ParseSecret(*text) : std::nullopt;
    if (!secret) {
        Report("error: the secret file does not hold 64 hexadecimal digits, or cannot be read");
        return 2;
    }
    WSADATA winsock;
    if (WSAStartup(MAKEWORD(2, 2), &winsock) != 0) return 4;

    int status = 0;
    {
        hosts::bridge::BridgeServer server(*secret, Report);
        hosts::com::ComEchoLinkFactory factory(kCallBound, hosts::com::ComEchoLinkFactory::kEndTimeout);
        std::unique_ptr<echolink::EchoLink> link = factory.Create(server);
        if (!link) {
            Report("error: EchoLink's object cannot be created or its events connected (is EchoLink running in this prefix?)");
            WSACleanup();
            return 3;
        }
        server.Serve(*link);
        const auto listening = server.Listen(static_cast<unsigned short>(port));
        if (!listening || !WritePortFile(portPath, *listening)) {
            Report("error: cannot listen on 127.0.0.1 or write the port file");
            status = 4;
        } else {
            Report("attached to EchoLink; listening on 127.0.0.1:" + std::to_string(*listening));
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            using Outcome = hosts::bridge::BridgeServer::Outcome;
            switch (server.Ended()) {
            case Outcome::EchoLinkGone: Report("ended: EchoLink's object is gone"); status = 3; break;
            case Outcome::EchoLinkClosed: Report("ended: EchoLink closed"); break;
            default: Report("ended: the service left"); break;
            }
            DeleteFileW(portPath.c_str());
        }
        // Unkeys what the connection keyed while EchoLink is still held, then lets EchoLink go.
        server.Stop();
        link.reset();
    }
    WSACleanup();
    return status;
}
