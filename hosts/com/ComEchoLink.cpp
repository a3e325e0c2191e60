#include "hosts/com/ComEchoLink.h"

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>

#include <windows.h>
#include <ocidl.h>
#include <oleauto.h>
#include <wrl/client.h>

#include "hosts/com/CallWorker.h"
#include "hosts/com/EchoLinkIds.h"
#include "hosts/wide/WideText.h"

namespace hosts::com {

using Microsoft::WRL::ComPtr;

namespace {

// Calls entry `slot` of the object's function table. The operations are reached by position, as
// EchoLink's clients always have, so only the table's layout is relied on, not its names.
template <typename... Args>
HRESULT CallSlot(IUnknown* object, int slot, Args... args) {
    using Entry = HRESULT(STDMETHODCALLTYPE*)(IUnknown*, Args...);
    void** table = *reinterpret_cast<void***>(object);
    return reinterpret_cast<Entry>(table[slot])(object, args...);
}

struct EventIds {
    DISPID chatText = DISPID_UNKNOWN;
    DISPID closing = DISPID_UNKNOWN;
};

// The highest version of EchoLink's type library that is registered, as LoadRegTypeLib wants it.
std::optional<std::pair<WORD, WORD>> RegisteredVersion() {
    wchar_t guid[40];
    StringFromGUID2(kEchoLinkTypeLib, guid, 40);
    const std::wstring path = std::wstring(L"TypeLib\\") + guid;
    HKEY key;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return std::nullopt;
    std::optional<std::pair<WORD, WORD>> best;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
        DWORD size = 64;
        if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        wchar_t* dot = nullptr;
        const unsigned long major = wcstoul(name, &dot, 16);
        if (dot == nullptr || *dot != L'.') continue;
        const unsigned long minor = wcstoul(dot + 1, nullptr, 16);
        const std::pair<WORD, WORD> version{static_cast<WORD>(major), static_cast<WORD>(minor)};
        if (!best || version > *best) best = version;
    }
    RegCloseKey(key);
    return best;
}

// The events' DISPIDs by name from EchoLink's registered type library, never assumed.
std::optional<EventIds> LookUpEventIds() {
    const auto version = RegisteredVersion();
    if (!version) return std::nullopt;
    ComPtr<ITypeLib> library;
    if (FAILED(LoadRegTypeLib(kEchoLinkTypeLib, version->first, version->second, 0, &library))) return std::nullopt;
    ComPtr<ITypeInfo> events;
    if (FAILED(library->GetTypeInfoOfGuid(kEchoLinkEvents, &events))) return std::nullopt;
    EventIds ids;
    LPOLESTR chatName = const_cast<LPOLESTR>(kChatTextReceivedName);
    LPOLESTR closingName = const_cast<LPOLESTR>(kClosingName);
    if (FAILED(events->GetIDsOfNames(&chatName, 1, &ids.chatText)) ||
        FAILED(events->GetIDsOfNames(&closingName, 1, &ids.closing))) {
        return std::nullopt;
    }
    return ids;
}

// The first argument of an event as UTF-8: a string, by value or by reference, or anything a
// VARIANT can turn into one.
std::string StringArgument(const DISPPARAMS* params) {
    if (params == nullptr || params->cArgs == 0) return {};
    const VARIANT& arg = params->rgvarg[params->cArgs - 1];  // arguments arrive last first
    if (V_VT(&arg) == VT_BSTR) return wide::NarrowBstr(V_BSTR(&arg));
    if (V_VT(&arg) == (VT_BSTR | VT_BYREF) && V_BSTRREF(&arg) != nullptr) return wide::NarrowBstr(*V_BSTRREF(&arg));
    VARIANT copy;
    VariantInit(&copy);
    std::string text;
    if (SUCCEEDED(VariantChangeType(&copy, const_cast<VARIANT*>(&arg), 0, VT_BSTR))) text = wide::NarrowBstr(V_BSTR(&copy));
    VariantClear(&copy);
    return text;
}

constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"DizoChatEchoLinkEvents";

struct Event {
    bool closing = false;
    std::string line;
    // When the line reached the program, on the steady clock the relay reads: taken on COM's
    // thread, so a line that then waits for a busy window is known to be old.
    std::chrono::milliseconds arrivedAt{0};
};

std::chrono::milliseconds SteadyMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch());
}

// Where the sink leaves events for the owner's window. The sink lives in the worker's apartment,
// so events come in on COM's threads; the owner takes them from its window, one per message.
struct Inbox {
    std::mutex mutex;
    std::deque<Event> events;
    HWND window = nullptr;  // null once the owner is going: what comes then is dropped
};

// Receives EchoLink's events from COM and queues them for the owner's window.
class EventSink final : public IDispatch {
public:
    EventSink(EventIds ids, std::shared_ptr<Inbox> inbox) : ids_(ids), inbox_(std::move(inbox)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDispatch) || IsEqualIID(iid, kEchoLinkEvents)) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = InterlockedDecrement(&refs_);
        if (left == 0) delete this;
        return static_cast<ULONG>(left);
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override {
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT*, EXCEPINFO*,
                                     UINT*) override {
        if (id != ids_.chatText && id != ids_.closing) return S_OK;  // EchoLink's other events are not ours
        Event event{id == ids_.closing, id == ids_.chatText ? StringArgument(params) : std::string(), SteadyMs()};
        const std::lock_guard lock(inbox_->mutex);
        if (inbox_->window == nullptr) return S_OK;
        inbox_->events.push_back(std::move(event));
        PostMessageW(inbox_->window, kDeliverMessage, 0, 0);
        return S_OK;
    }

private:
    ~EventSink() = default;
    LONG refs_ = 1;
    EventIds ids_;
    std::shared_ptr<Inbox> inbox_;
};

// Arguments a call owns, freed once the call is over, on whichever thread that is.
struct OwnedVariant {
    VARIANT value;
    OwnedVariant() { VariantInit(&value); }
    ~OwnedVariant() { VariantClear(&value); }
    OwnedVariant(const OwnedVariant&) = delete;
    OwnedVariant& operator=(const OwnedVariant&) = delete;
};

struct OwnedBstr {
    BSTR value;
    explicit OwnedBstr(BSTR text) : value(text) {}
    ~OwnedBstr() { SysFreeString(value); }
    OwnedBstr(const OwnedBstr&) = delete;
    OwnedBstr& operator=(const OwnedBstr&) = delete;
};

// Disconnects the sink through the worker's own proxy: the connection point is found anew there,
// since this thread's proxies are not the worker's to use.
HRESULT Unadvise(IUnknown* object, DWORD cookie) {
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    HRESULT hr = object->QueryInterface(IID_PPV_ARGS(&container));
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(kEchoLinkEvents, &point);
    if (SUCCEEDED(hr)) hr = point->Unadvise(cookie);
    return hr;
}

// What the worker opens: the object, its events connected to `sink` from the worker's apartment.
// The cookie is the worker's alone, read by the disconnection it runs later.
HRESULT OpenConnected(IUnknown** out, IDispatch* sink, DWORD* cookie) {
    ComPtr<IUnknown> object;
    // EchoLink is an executable, so a local server; an in-process one serves as well.
    HRESULT hr = CoCreateInstance(kEchoLinkClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                  kEchoLinkInterface, reinterpret_cast<void**>(object.GetAddressOf()));
    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (SUCCEEDED(hr)) hr = object.As(&container);
    if (SUCCEEDED(hr)) hr = container->FindConnectionPoint(kEchoLinkEvents, &point);
    if (SUCCEEDED(hr)) hr = point->Advise(sink, cookie);
    if (FAILED(hr)) {
        *cookie = 0;
        return hr;
    }
    *out = object.Detach();
    return S_OK;
}

}  // namespace

struct ComEchoLinkFactory::GuardPath {
    std::mutex mutex;
    std::function<HRESULT()> unkey;  // empty while no object is alive
};

class ComEchoLink final : public echolink::EchoLink {
public:
    ComEchoLink(echolink::ChatEvents& events, DWORD callTimeoutMs, DWORD endTimeoutMs,
                std::shared_ptr<ComEchoLinkFactory::GuardPath> guardPath)
        : events_(events), callTimeoutMs_(callTimeoutMs), endTimeoutMs_(endTimeoutMs),
          guardPath_(std::move(guardPath)) {}
    ~ComEchoLink() override;

    bool Connect();
    // Lends the guard an unkeying through the worker, counted like the relay's own.
    void LendGuardPath();

    echolink::HResult SetTransmit(bool keyed) override {
        const LONG value = keyed ? -1 : 0;  // VARIANT_TRUE in the 32-bit slot
        keyed_ = keyed;
        if (keyed) return Call([value](IUnknown* object) { return CallSlot(object, kSetTransmitSlot, value); });
        // Counted until EchoLink has answered it, so the end knows an unkeying is still on its way.
        ++*unkeyings_;
        return Call([value, unkeyings = unkeyings_](IUnknown* object) {
            const HRESULT hr = CallSlot(object, kSetTransmitSlot, value);
            --*unkeyings;
            return hr;
        });
    }

    echolink::HResult SendMorse(std::int32_t reserved, const echolink::Variant& text) override {
        auto owned = std::make_shared<OwnedVariant>();
        VARIANT& value = owned->value;
        switch (text.Type()) {
        case echolink::VarType::Bstr:
            V_VT(&value) = VT_BSTR;
            V_BSTR(&value) = wide::NewBstr(text.String());
            if (V_BSTR(&value) == nullptr) return echolink::HResult{E_OUTOFMEMORY};
            break;
        case echolink::VarType::I4: V_VT(&value) = VT_I4; V_I4(&value) = text.Int32(); break;
        case echolink::VarType::Bool: V_VT(&value) = VT_BOOL; V_BOOL(&value) = text.Int32() ? VARIANT_TRUE : VARIANT_FALSE; break;
        case echolink::VarType::Empty: break;
        }
        // By value: the callee reads the VARIANT and the string stays ours to free.
        return Call([owned, reserved](IUnknown* object) {
            return CallSlot(object, kSendMorseSlot, static_cast<LONG>(reserved), owned->value);
        });
    }

    echolink::HResult PostChatLine(const std::string& line) override {
        auto text = std::make_shared<OwnedBstr>(wide::NewBstr(line));
        if (text->value == nullptr && !line.empty()) return echolink::HResult{E_OUTOFMEMORY};
        return Call([text](IUnknown* object) { return CallSlot(object, kPostChatLineSlot, text->value); });
    }

private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    // While a call is out, COM's modal loop may run our window; events wait until it returns, as
    // the relay is promised that none arrives from inside an operation.
    // Each call runs on the worker and holds this thread at most the bound.
    echolink::HResult Call(CallWorker::Job job) {
        ++calling_;
        const HRESULT hr = worker_->Run(std::move(job));
        if (--calling_ == 0 && deferred_) {
            deferred_ = false;
            PostMessageW(window_, kDeliverMessage, 0, 0);
        }
        return echolink::HResult{static_cast<std::int32_t>(hr)};
    }

    echolink::ChatEvents& events_;
    DWORD callTimeoutMs_;
    DWORD endTimeoutMs_;
    bool apartment_ = false;
    std::shared_ptr<DWORD> cookie_ = std::make_shared<DWORD>(0);  // the worker's
    std::shared_ptr<Inbox> inbox_ = std::make_shared<Inbox>();
    EventSink* sink_ = nullptr;
    std::unique_ptr<CallWorker> worker_;
    HWND window_ = nullptr;
    int calling_ = 0;
    bool deferred_ = false;
    // What the end owes EchoLink: the last keying asked for, and the unkeyings not yet answered.
    bool keyed_ = false;
    std::shared_ptr<std::atomic<int>> unkeyings_ = std::make_shared<std::atomic<int>>(0);
    std::shared_ptr<ComEchoLinkFactory::GuardPath> guardPath_;
    bool lent_ = false;
};

void ComEchoLink::LendGuardPath() {
    auto unkey = [remote = worker_->AnyThread(), unkeyings = unkeyings_, bound = callTimeoutMs_] {
        ++*unkeyings;
        return remote.Run(
            [unkeyings](IUnknown* object) {
                const HRESULT hr = CallSlot(object, kSetTransmitSlot, LONG{0});
                --*unkeyings;
                return hr;
            },
            bound);
    };
    const std::lock_guard lock(guardPath_->mutex);
    guardPath_->unkey = std::move(unkey);
    lent_ = true;
}

bool ComEchoLink::Connect() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    apartment_ = SUCCEEDED(init);  // S_FALSE too: each success is balanced on destruction
    if (!apartment_ && init != RPC_E_CHANGED_MODE) return false;

    // The type library is read from the registry here: no call to EchoLink.
    const auto ids = LookUpEventIds();
    if (!ids) return false;

    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass);  // fails harmlessly when a previous object registered it
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, windowClass.hInstance, nullptr);
    if (window_ == nullptr) return false;
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    inbox_->window = window_;

    // Creating the object, finding its events and connecting them are calls to EchoLink like any
    // other: made on the worker, so a hung EchoLink holds the window one bound and no more. Given up
    // at the bound, they still run, as every call does: the program runs on alone meanwhile (calls
    // fail at once), and an EchoLink that was only slow to start (both started at log-on) is
    // connected once it answers. One that fails is absent: no object.
    sink_ = new EventSink(*ids, inbox_);
    sink_->AddRef();  // the worker's, let go with it
    worker_ = std::make_unique<CallWorker>(
        [sink = sink_, cookie = cookie_](IUnknown** object) {
            const HRESULT hr = OpenConnected(object, sink, cookie.get());
            sink->Release();
            return hr;
        },
        callTimeoutMs_);
    const HRESULT opened = worker_->Opened();
    return SUCCEEDED(opened) || opened == RPC_E_TIMEOUT;
}

ComEchoLink::~ComEchoLink() {
    if (lent_) {
        const std::lock_guard lock(guardPath_->mutex);
        guardPath_->unkey = nullptr;
    }
    // Nothing reaches the owner from here on: it may be going itself.
    {
        const std::lock_guard lock(inbox_->mutex);
        inbox_->window = nullptr;
        inbox_->events.clear();
    }
    if (window_ != nullptr) DestroyWindow(window_);
    if (worker_ != nullptr) {
        // A keying left standing, or an unkeying EchoLink has not answered, is owed before the
        // process ends: a transmitter keyed by a program that is gone stays keyed.
        CallWorker::Job unkey;
        if (keyed_ || *unkeyings_ > 0) {
            unkey = [](IUnknown* object) { return CallSlot(object, kSetTransmitSlot, LONG{0}); };
        }
        CallWorker::Job disconnect = [cookie = cookie_](IUnknown* object) {
            return *cookie != 0 ? Unadvise(object, *cookie) : S_OK;
        };
        worker_->Finish(std::move(unkey), endTimeoutMs_, std::move(disconnect));
        worker_.reset();
    }
    // The server may still hold the sink; with the window gone, it drops what comes.
    if (sink_ != nullptr) sink_->Release();
    if (apartment_) CoUninitialize();
}

// One event per message, taken off the queue before it is delivered: a handler may destroy the
// object (Closing ends the program), so nothing of it is touched afterwards.
LRESULT CALLBACK ComEchoLink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kDeliverMessage) return DefWindowProcW(window, message, wParam, lParam);
    auto* link = reinterpret_cast<ComEchoLink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (link == nullptr) return 0;
    if (link->calling_ > 0) {
        link->deferred_ = true;
        return 0;
    }
    Event event;
    {
        const std::lock_guard lock(link->inbox_->mutex);
        if (link->inbox_->events.empty()) return 0;
        event = std::move(link->inbox_->events.front());
        link->inbox_->events.pop_front();
    }
    echolink::ChatEvents& events = link->events_;
    if (event.closing) {
        events.Closing();
    } else {
        events.ChatTextArrived(event.line, event.arrivedAt);
    }
    return 0;
}

ComEchoLinkFactory::ComEchoLinkFactory() : guardPath_(std::make_shared<GuardPath>()) {}

ComEchoLinkFactory::ComEchoLinkFactory(std::chrono::milliseconds callTimeout, std::chrono::milliseconds endTimeout)
    : guardPath_(std::make_shared<GuardPath>()), callTimeout_(callTimeout), endTimeout_(endTimeout) {}

ComEchoLinkFactory::~ComEchoLinkFactory() = default;

std::unique_ptr<echolink::EchoLink> ComEchoLinkFactory::Create(echolink::ChatEvents& events) {
    auto link = std::make_unique<ComEchoLink>(events, static_cast<DWORD>(callTimeout_.count()),
                                              static_cast<DWORD>(endTimeout_.count()), guardPath_);
    if (!link->Connect()) return nullptr;
    link->LendGuardPath();
    return link;
}

echolink::HResult ComEchoLinkFactory::UnkeyFromAnyThread() const {
    std::function<HRESULT()> unkey;
    {
        const std::lock_guard lock(guardPath_->mutex);
        unkey = guardPath_->unkey;
    }
    // Called outside the lock: the object may go meanwhile, and its worker's queue then refuses.
    if (!unkey) return echolink::kNoObject;
    const HRESULT hr = unkey();
    // A worker that is finishing owes the unkeying itself (see ~ComEchoLink): nothing to retry.
    return hr == CO_E_OBJNOTCONNECTED ? echolink::kDisconnected : echolink::HResult{static_cast<std::int32_t>(hr)};
}

}  // namespace hosts::com
