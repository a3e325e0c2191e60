#include "hosts/com/ComEchoLink.h"

#include <deque>
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

struct Event {
    bool closing = false;
    std::string line;
};

// Receives EchoLink's events from COM and queues them; the owner delivers them from its window.
class EventSink final : public IDispatch {
public:
    using Deliver = void (*)(void* owner, Event event);
    EventSink(EventIds ids, void* owner, Deliver deliver) : ids_(ids), owner_(owner), deliver_(deliver) {}
    void Detach() { owner_ = nullptr; }

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
        if (owner_ == nullptr) return S_OK;
        if (id == ids_.chatText) {
            deliver_(owner_, Event{false, StringArgument(params)});
        } else if (id == ids_.closing) {
            deliver_(owner_, Event{true, {}});
        }
        return S_OK;  // EchoLink's other events are not ours to handle
    }

private:
    ~EventSink() = default;
    LONG refs_ = 1;
    EventIds ids_;
    void* owner_;
    Deliver deliver_;
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

constexpr UINT kDeliverMessage = WM_APP + 1;
constexpr wchar_t kWindowClass[] = L"DizoChatEchoLinkEvents";

}  // namespace

class ComEchoLink final : public echolink::EchoLink {
public:
    ComEchoLink(echolink::ChatEvents& events, DWORD callTimeoutMs) : events_(events), callTimeoutMs_(callTimeoutMs) {}
    ~ComEchoLink() override;

    bool Connect();

    echolink::HResult SetTransmit(bool keyed) override {
        const LONG value = keyed ? -1 : 0;  // VARIANT_TRUE in the 32-bit slot
        return Call([value](IUnknown* object) { return CallSlot(object, kSetTransmitSlot, value); });
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
    static void Queue(void* self, Event event);
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
    bool apartment_ = false;
    DWORD cookie_ = 0;
    EventSink* sink_ = nullptr;
    std::unique_ptr<CallWorker> worker_;
    HWND window_ = nullptr;
    std::deque<Event> queue_;
    int calling_ = 0;
    bool deferred_ = false;
};

bool ComEchoLink::Connect() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    apartment_ = SUCCEEDED(init);  // S_FALSE too: each success is balanced on destruction
    if (!apartment_ && init != RPC_E_CHANGED_MODE) return false;

    // This thread's proxies are used only here, while EchoLink has just answered, and let go when
    // this returns: a proxy's last release is a call to EchoLink, and at the end the worker makes
    // it within the bound instead.
    ComPtr<IUnknown> object;
    // EchoLink is an executable, so a local server; an in-process one serves as well.
    if (FAILED(CoCreateInstance(kEchoLinkClass, nullptr, CLSCTX_LOCAL_SERVER | CLSCTX_INPROC_SERVER,
                                kEchoLinkInterface, reinterpret_cast<void**>(object.GetAddressOf())))) {
        return false;
    }
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

    ComPtr<IConnectionPointContainer> container;
    ComPtr<IConnectionPoint> point;
    if (FAILED(object.As(&container)) || FAILED(container->FindConnectionPoint(kEchoLinkEvents, &point))) {
        return false;
    }
    worker_ = std::make_unique<CallWorker>(object.Get(), kEchoLinkInterface, callTimeoutMs_);
    if (!worker_->Connected()) return false;
    // The sink is advised from this thread, so the events come into this apartment.
    sink_ = new EventSink(*ids, this, &ComEchoLink::Queue);
    if (FAILED(point->Advise(sink_, &cookie_))) {
        cookie_ = 0;
        return false;
    }
    return true;
}

ComEchoLink::~ComEchoLink() {
    // Nothing reaches the owner from here on: it may be going itself.
    if (sink_ != nullptr) sink_->Detach();
    if (window_ != nullptr) DestroyWindow(window_);
    if (worker_ != nullptr) {
        CallWorker::Job disconnect;
        if (cookie_ != 0) disconnect = [cookie = cookie_](IUnknown* object) { return Unadvise(object, cookie); };
        worker_->Finish(std::move(disconnect));
        worker_.reset();
    }
    // The server may still hold the sink; detached, it ignores what comes.
    if (sink_ != nullptr) sink_->Release();
    if (apartment_) CoUninitialize();
}

void ComEchoLink::Queue(void* self, Event event) {
    auto* link = static_cast<ComEchoLink*>(self);
    link->queue_.push_back(std::move(event));
    PostMessageW(link->window_, kDeliverMessage, 0, 0);
}

// One event per message, taken off the queue before it is delivered: a handler may destroy the
// object (Closing ends the program), so nothing of it is touched afterwards.
LRESULT CALLBACK ComEchoLink::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != kDeliverMessage) return DefWindowProcW(window, message, wParam, lParam);
    auto* link = reinterpret_cast<ComEchoLink*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (link == nullptr || link->queue_.empty()) return 0;
    if (link->calling_ > 0) {
        link->deferred_ = true;
        return 0;
    }
    Event event = std::move(link->queue_.front());
    link->queue_.pop_front();
    echolink::ChatEvents& events = link->events_;
    if (event.closing) {
        events.Closing();
    } else {
        events.ChatTextReceived(event.line);
    }
    return 0;
}

std::unique_ptr<echolink::EchoLink> ComEchoLinkFactory::Create(echolink::ChatEvents& events) {
    auto link = std::make_unique<ComEchoLink>(events, static_cast<DWORD>(callTimeout_.count()));
    if (!link->Connect()) return nullptr;
    return link;
}

}  // namespace hosts::com
