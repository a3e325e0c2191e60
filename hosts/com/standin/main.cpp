// A stand-in for EchoLink's automation class, for tests: a local COM server with EchoLink's
// identifiers that logs every call with its arguments and fires the events on command.
//   dizo-echolink-standin /regserver [/log FILE]   register (type library, class) and set the log
//   dizo-echolink-standin /unregserver
//   dizo-echolink-standin /say LINE | /close | /crash      to the running server
//   dizo-echolink-standin /fail on|off | /failcreate on|off | /stamps on|off | /hang MS | /hangcreate MS
//                                                           settings, read on every call
#include <algorithm>
#include <cstdio>
#include <deque>
#include <string>
#include <utility>
#include <vector>

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>
#include <olectl.h>
#include <shellapi.h>
#include <wrl/client.h>

#include "EchoLinkStandIn_h.h"
#include "hosts/com/EchoLinkIds.h"
#include "hosts/wide/WideText.h"
#include "hosts/com/standin/StandInControl.h"

using Microsoft::WRL::ComPtr;
using namespace hosts::com;
using namespace hosts::com::standin;

namespace {

std::wstring ExePath() {
    wchar_t path[MAX_PATH];
    const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, length);
}

std::string Describe(const VARIANT& value) {
    switch (V_VT(&value)) {
    case VT_BSTR: return "VT_BSTR " + Quoted(hosts::wide::NarrowBstr(V_BSTR(&value)));
    case VT_I4: return "VT_I4 " + std::to_string(V_I4(&value));
    case VT_BOOL: return "VT_BOOL " + std::to_string(V_BOOL(&value));
    case VT_EMPTY: return "VT_EMPTY";
    default: return "VT " + std::to_string(V_VT(&value));
    }
}

LONG objects = 0;
LONG locks = 0;
DWORD mainThread = 0;

DWORD registration = 0;

// The class object goes before the loop ends, so a client arriving now starts a new server
// instead of waiting on this one while it leaves.
void ServerReleased() {
    if (objects != 0 || locks != 0 || registration == 0) return;
    CoRevokeClassObject(registration);
    registration = 0;
    PostThreadMessageW(mainThread, WM_QUIT, 0, 0);
}

// The modes tests set: each operation may first hang and then fail.
HRESULT Operation(const std::string& call) {
    const unsigned long hangMs = NumberSetting(kHangSetting);
    if (hangMs > 0) Sleep(hangMs);
    const bool fail = NumberSetting(kFailSetting) != 0;
    AppendLog(call + (fail ? " -> E_FAIL" : ""));
    return fail ? E_FAIL : S_OK;
}

class StandIn;
std::vector<StandIn*> live;

class StandIn final : public IEchoLinkStandIn, public IConnectionPointContainer, public IConnectionPoint {
public:
    explicit StandIn(ComPtr<ITypeInfo> info) : info_(std::move(info)) {
        ++objects;
        live.push_back(this);
    }

    // IUnknown, for all three interfaces.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = nullptr;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kEchoLinkInterface)) {
            *out = static_cast<IEchoLinkStandIn*>(this);
        } else if (IsEqualIID(iid, IID_IConnectionPointContainer)) {
            *out = static_cast<IConnectionPointContainer*>(this);
        } else if (IsEqualIID(iid, IID_IConnectionPoint)) {
            *out = static_cast<IConnectionPoint*>(this);
        } else {
            return E_NOINTERFACE;
        }
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) {
            AppendLog("released");
            std::erase(live, this);
            delete this;
            --objects;
            ServerReleased();
        }
        return left;
    }

    // IDispatch, through the type library.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 1;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo** out) override {
        info_->AddRef();
        *out = info_.Get();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
        return info_->GetIDsOfNames(names, count, ids);
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                                     EXCEPINFO* error, UINT* argError) override {
        return info_->Invoke(static_cast<IEchoLinkStandIn*>(this), id, flags, params, result, error, argError);
    }

    // The operations.
    HRESULT STDMETHODCALLTYPE SetTransmit(VARIANT_BOOL keyed) override {
        return Operation("SetTransmit(" + std::to_string(keyed) + ")");
    }
    HRESULT STDMETHODCALLTYPE SendMorse(LONG reserved, VARIANT text) override {
        return Operation("SendMorse(" + std::to_string(reserved) + ", " + Describe(text) + ")");
    }
    HRESULT STDMETHODCALLTYPE PostChatLine(BSTR line) override {
        return Operation("PostChatLine(" + Quoted(hosts::wide::NarrowBstr(line)) + ")");
    }
#define DIZO_UNUSED_SLOT(n) \
    HRESULT STDMETHODCALLTYPE Unused##n() override { return Operation("Unused" #n "()"); }
    DIZO_UNUSED_SLOT(07) DIZO_UNUSED_SLOT(08) DIZO_UNUSED_SLOT(09) DIZO_UNUSED_SLOT(10) DIZO_UNUSED_SLOT(11)
    DIZO_UNUSED_SLOT(13) DIZO_UNUSED_SLOT(14) DIZO_UNUSED_SLOT(15) DIZO_UNUSED_SLOT(16) DIZO_UNUSED_SLOT(18)
    DIZO_UNUSED_SLOT(19) DIZO_UNUSED_SLOT(20) DIZO_UNUSED_SLOT(21) DIZO_UNUSED_SLOT(22) DIZO_UNUSED_SLOT(23)
    DIZO_UNUSED_SLOT(24) DIZO_UNUSED_SLOT(25) DIZO_UNUSED_SLOT(26) DIZO_UNUSED_SLOT(27) DIZO_UNUSED_SLOT(28)
    DIZO_UNUSED_SLOT(29) DIZO_UNUSED_SLOT(30) DIZO_UNUSED_SLOT(31) DIZO_UNUSED_SLOT(32) DIZO_UNUSED_SLOT(33)
    DIZO_UNUSED_SLOT(34) DIZO_UNUSED_SLOT(35) DIZO_UNUSED_SLOT(36) DIZO_UNUSED_SLOT(37) DIZO_UNUSED_SLOT(38)
    DIZO_UNUSED_SLOT(39)
#undef DIZO_UNUSED_SLOT

    // IConnectionPointContainer: the one event interface.
    HRESULT STDMETHODCALLTYPE EnumConnectionPoints(IEnumConnectionPoints**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE FindConnectionPoint(REFIID iid, IConnectionPoint** out) override {
        *out = nullptr;
        if (!IsEqualIID(iid, kEchoLinkEvents)) return CONNECT_E_NOCONNECTION;
        AddRef();
        *out = this;
        return S_OK;
    }

    // IConnectionPoint.
    HRESULT STDMETHODCALLTYPE GetConnectionInterface(IID* iid) override {
        *iid = kEchoLinkEvents;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetConnectionPointContainer(IConnectionPointContainer** out) override {
        AddRef();
        *out = this;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Advise(IUnknown* sink, DWORD* cookie) override {
        ComPtr<IDispatch> dispatch;
        if (sink == nullptr || FAILED(sink->QueryInterface(kEchoLinkEvents, reinterpret_cast<void**>(dispatch.GetAddressOf())))) {
            AppendLog("Advise -> refused");
            return CONNECT_E_CANNOTCONNECT;
        }
        sinks_.push_back({++lastCookie_, dispatch});
        *cookie = lastCookie_;
        AppendLog("Advise");
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Unadvise(DWORD cookie) override {
        const auto removed = std::erase_if(sinks_, [cookie](const Sink& s) { return s.cookie == cookie; });
        AppendLog(removed ? "Unadvise" : "Unadvise -> unknown cookie");
        return removed ? S_OK : CONNECT_E_NOCONNECTION;
    }
    HRESULT STDMETHODCALLTYPE EnumConnections(IEnumConnections**) override { return E_NOTIMPL; }

    // Fires one event at every connected sink; `line` null means Closing.
    void Fire(const std::string* line) {
        const auto ids = Dispids();
        VARIANT arg;
        VariantInit(&arg);
        DISPPARAMS params{};
        if (line) {
            V_VT(&arg) = VT_BSTR;
            V_BSTR(&arg) = hosts::wide::NewBstr(*line);
            params.rgvarg = &arg;
            params.cArgs = 1;
        }
        const std::vector<Sink> sinks = sinks_;  // a sink may unadvise while we call it
        for (const Sink& s : sinks) {
            s.dispatch->Invoke(line ? ids.first : ids.second, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params,
                               nullptr, nullptr, nullptr);
        }
        VariantClear(&arg);
        AppendLog((line ? "ChatTextReceived(" + Quoted(*line) + ")" : std::string("Closing()")) + " to " +
            std::to_string(sinks.size()) + " sink(s)");
    }

private:
    struct Sink {
        DWORD cookie;
        ComPtr<IDispatch> dispatch;
    };

    std::pair<DISPID, DISPID> Dispids() {
        ComPtr<ITypeLib> library;
        ComPtr<ITypeInfo> events;
        UINT index = 0;
        DISPID chat = DISPID_UNKNOWN;
        DISPID closing = DISPID_UNKNOWN;
        if (SUCCEEDED(info_->GetContainingTypeLib(&library, &index)) &&
            SUCCEEDED(library->GetTypeInfoOfGuid(kEchoLinkEvents, &events))) {
            LPOLESTR chatName = const_cast<LPOLESTR>(kChatTextReceivedName);
            LPOLESTR closingName = const_cast<LPOLESTR>(kClosingName);
            events->GetIDsOfNames(&chatName, 1, &chat);
            events->GetIDsOfNames(&closingName, 1, &closing);
        }
        return {chat, closing};
    }

    ULONG refs_ = 1;
    ComPtr<ITypeInfo> info_;
    std::vector<Sink> sinks_;
    DWORD lastCookie_ = 0;
};

class Factory final : public IClassFactory {
public:
    explicit Factory(ComPtr<ITypeInfo> info) : info_(std::move(info)) {}
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IClassFactory)) {
            *out = static_cast<IClassFactory*>(this);
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }  // lives for the whole run
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
        *out = nullptr;
        if (outer != nullptr) return CLASS_E_NOAGGREGATION;
        if (registration == 0) return CO_E_SERVER_STOPPING;
        // As an EchoLink busy starting up: the client is kept waiting for its object.
        if (const unsigned long hangMs = NumberSetting(kHangCreateSetting); hangMs > 0) Sleep(hangMs);
        if (NumberSetting(kFailCreateSetting) != 0) {
            AppendLog("create -> E_FAIL");
            ServerReleased();
            return E_FAIL;
        }
        auto* object = new StandIn(info_);
        const HRESULT hr = object->QueryInterface(iid, out);
        object->Release();
        AppendLog(SUCCEEDED(hr) ? "create" : "create -> no such interface");
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL lock) override {
        locks += lock ? 1 : -1;
        ServerReleased();
        return S_OK;
    }

private:
    ComPtr<ITypeInfo> info_;
};

// Commands arrive by WM_COPYDATA and run from the loop, since an event cannot be fired from
// inside the sender's SendMessage.
std::deque<std::wstring> commands;
constexpr UINT kRunCommand = WM_APP + 1;

// Every object still alive when its turn comes: a client may release one while the event
// before it is in flight, since the server takes calls while it waits on a sink.
void FireAtEach(const std::string* line) {
    for (StandIn* s : std::vector<StandIn*>(live)) {
        if (std::find(live.begin(), live.end(), s) != live.end()) s->Fire(line);
    }
}

void Run(const std::wstring& command) {
    if (command.rfind(L"say ", 0) == 0) {
        const std::string line = hosts::wide::Narrow(std::wstring_view(command).substr(4));
        FireAtEach(&line);
    } else if (command == L"close") {
        FireAtEach(nullptr);
    } else if (command == L"crash") {
        AppendLog("crash");
        ExitProcess(3);
    }
}

LRESULT CALLBACK CommandWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        commands.emplace_back(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
        PostMessageW(window, kRunCommand, 0, 0);
        return TRUE;
    }
    if (message == kRunCommand && !commands.empty()) {
        const std::wstring command = std::move(commands.front());
        commands.pop_front();
        Run(command);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Serve() {
    ComPtr<ITypeLib> library;
    ComPtr<ITypeInfo> info;
    if (FAILED(LoadTypeLibEx(ExePath().c_str(), REGKIND_NONE, &library)) ||
        FAILED(library->GetTypeInfoOfGuid(kEchoLinkInterface, &info))) {
        AppendLog("start -> no type library");
        return 1;
    }
    mainThread = GetCurrentThreadId();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = CommandWindow;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kCommandWindowClass;
    RegisterClassW(&windowClass);
    HWND window = CreateWindowExW(0, kCommandWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  windowClass.hInstance, nullptr);
    Factory factory(info);
    if (FAILED(CoRegisterClassObject(kEchoLinkClass, &factory, CLSCTX_LOCAL_SERVER, REGCLS_MULTIPLEUSE,
                                     &registration))) {
        AppendLog("start -> class not registered with COM");
        return 1;
    }
    AppendLog("start");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    if (registration != 0) CoRevokeClassObject(registration);
    DestroyWindow(window);
    AppendLog("exit");
    return 0;
}

std::wstring ClassKey() {
    wchar_t guid[40];
    StringFromGUID2(kEchoLinkClass, guid, 40);
    return std::wstring(L"CLSID\\") + guid;
}

bool SetDefault(const std::wstring& key, const std::wstring& value) {
    return RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, value.c_str(),
                           static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

int Register(const std::wstring& logPath) {
    ComPtr<ITypeLib> library;
    if (FAILED(LoadTypeLibEx(ExePath().c_str(), REGKIND_REGISTER, &library))) {
        std::fputs("could not register the type library\n", stderr);
        return 1;
    }
    const std::wstring key = ClassKey();
    if (!SetDefault(key, L"EchoLink stand-in") || !SetDefault(key + L"\\LocalServer32", L"\"" + ExePath() + L"\"")) {
        std::fputs("could not register the class\n", stderr);
        return 1;
    }
    WriteSetting(kLogSetting, logPath);
    for (const wchar_t* mode : {kFailSetting, kFailCreateSetting, kStampSetting, kHangSetting, kHangCreateSetting}) {
        WriteSetting(mode, L"0");
    }
    return 0;
}

int Unregister() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ClassKey().c_str());
    UnRegisterTypeLib(kEchoLinkTypeLib, 1, 0, 0, sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32);
    RegDeleteTreeW(HKEY_CURRENT_USER, kSettingsKey);
    return 0;
}

std::wstring DefaultLogPath() {
    std::wstring path = ExePath();
    return path.substr(0, path.find_last_of(L"\\/") + 1) + L"echolink-standin.log";
}

int Usage() {
    std::fputs("usage: dizo-echolink-standin /regserver [/log FILE] | /unregserver | /say LINE | /close | /crash |\n"
               "       /fail on|off | /failcreate on|off | /stamps on|off | /hang MS | /hangcreate MS\n",
               stderr);
    return 2;
}

int Command(const std::vector<std::wstring>& args) {
    const std::wstring& verb = args[1];
    if (verb == L"/regserver") {
        return Register(args.size() >= 4 && args[2] == L"/log" ? args[3] : DefaultLogPath());
    }
    if (verb == L"/unregserver") return Unregister();
    for (const auto& [name, setting] : {std::pair{L"/fail", kFailSetting}, std::pair{L"/failcreate", kFailCreateSetting},
                                         std::pair{L"/stamps", kStampSetting}}) {
        if (args.size() == 3 && verb == name) return WriteSetting(setting, args[2] == L"on" ? L"1" : L"0") ? 0 : 1;
    }
    if (args.size() == 3 && verb == L"/hang") return WriteSetting(kHangSetting, args[2]) ? 0 : 1;
    if (args.size() == 3 && verb == L"/hangcreate") return WriteSetting(kHangCreateSetting, args[2]) ? 0 : 1;
    std::wstring command;
    if (args.size() == 3 && verb == L"/say") {
        command = L"say " + args[2];
    } else if (args.size() == 2 && (verb == L"/close" || verb == L"/crash")) {
        command = verb.substr(1);
    } else {
        return Usage();
    }
    if (!SendCommand(command)) {
        std::fputs("no stand-in server is running (no client holds an object)\n", stderr);
        return 1;
    }
    return 0;
}

}  // namespace

int main() {
    int count = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::wstring> args(argv, argv + count);
    LocalFree(argv);
    if (args.size() < 2) return Usage();
    const std::wstring& verb = args[1];
    const bool serving = verb == L"-Embedding" || verb == L"/Embedding";
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return 1;
    const int status = serving ? Serve() : Command(args);
    CoUninitialize();
    return status;
}
