#include "hosts/sapi/SapiVoice.h"

#include <algorithm>

#include <windows.h>
#include <sapi.h>
#include <wrl/client.h>

#include "hosts/wide/WideText.h"
#include "relay/SpeechText.h"

namespace hosts::sapi {

namespace {

using Microsoft::WRL::ComPtr;

// Declared here rather than linked from a library MinGW may not ship.
constexpr CLSID kSpVoice = {0x96749377, 0x3391, 0x11d2, {0x9e, 0xe3, 0x00, 0xc0, 0x4f, 0x79, 0x73, 0x96}};
constexpr IID kISpVoice = {0x6c44df74, 0x72b9, 0x4992, {0xa1, 0xec, 0xef, 0x99, 0x6e, 0x04, 0x22, 0xd4}};

class SpVoicePort final : public VoicePort {
public:
    SpVoicePort(ComPtr<ISpVoice> voice, bool apartment) : voice_(std::move(voice)), apartment_(apartment) {}
    ~SpVoicePort() override {
        voice_.Reset();
        if (apartment_) CoUninitialize();
    }
    std::int32_t Speak(const std::wstring& text, std::uint32_t flags) override {
        return voice_->Speak(text.empty() ? nullptr : text.c_str(), flags, nullptr);
    }
    std::int32_t WaitUntilDone(std::uint32_t milliseconds) override { return voice_->WaitUntilDone(milliseconds); }
    std::optional<std::size_t> InputPosition() override {
        SPVOICESTATUS status{};
        if (FAILED(voice_->GetStatus(&status, nullptr))) return std::nullopt;
        return status.ulInputWordPos;
    }
    // From the guard's thread, on the voice's own pointer: SpVoice is free-threaded, and the
    // window's thread, which made it, may be the one held in WaitUntilDone. Asynchronous, so a
    // wedged audio device cannot hold the guard.
    void Silence() override {
        const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
        voice_->Speak(nullptr, SPF_ASYNC | SPF_PURGEBEFORESPEAK, nullptr);
        if (apartment) CoUninitialize();
    }

private:
    ComPtr<ISpVoice> voice_;
    bool apartment_;
};

}  // namespace

std::wstring SapiText(const std::string& utf8) { return wide::Widen(relay::SpeakableText(utf8)); }

void LiveVoices::Add(VoicePort* port) {
    const std::lock_guard lock(mutex_);
    ports_.push_back(port);
}

void LiveVoices::Remove(VoicePort* port) {
    const std::lock_guard lock(mutex_);
    std::erase(ports_, port);
}

void LiveVoices::SilenceAll() {
    const std::lock_guard lock(mutex_);
    for (VoicePort* port : ports_) port->Silence();
}

SapiVoice::SapiVoice(std::unique_ptr<VoicePort> port, std::shared_ptr<LiveVoices> live)
    : port_(std::move(port)), live_(std::move(live)) {
    if (live_ != nullptr) live_->Add(port_.get());
}

SapiVoice::~SapiVoice() {
    if (live_ != nullptr) live_->Remove(port_.get());
}

echolink::HResult SapiVoice::Speak(const std::string& text, relay::SpeakFlags flags) {
    last_ = SapiText(text);
    return echolink::HResult{port_->Speak(last_, flags.bits)};
}

bool SapiVoice::WaitUntilDone(std::chrono::milliseconds timeout) {
    const auto ms = std::clamp<std::chrono::milliseconds::rep>(timeout.count(), 0, INFINITE - 1);
    return port_->WaitUntilDone(static_cast<std::uint32_t>(ms)) == S_OK;
}

std::optional<std::size_t> SapiVoice::SpokenCharacters() const {
    const auto position = port_->InputPosition();
    if (!position) return std::nullopt;
    // UTF-16 units to code points: a surrogate pair is one character.
    const std::size_t end = std::min(*position, last_.size());
    return static_cast<std::size_t>(std::count_if(last_.begin(), last_.begin() + static_cast<std::ptrdiff_t>(end),
                                                  [](wchar_t c) { return c < 0xDC00 || c > 0xDFFF; }));
}

std::unique_ptr<relay::Voice> SapiSpeechEngine::CreateVoice() {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    const bool apartment = SUCCEEDED(init);
    if (!apartment && init != RPC_E_CHANGED_MODE) return nullptr;
    ComPtr<ISpVoice> voice;
    if (FAILED(CoCreateInstance(kSpVoice, nullptr, CLSCTX_ALL, kISpVoice,
                                reinterpret_cast<void**>(voice.GetAddressOf())))) {
        if (apartment) CoUninitialize();
        return nullptr;
    }
    return std::make_unique<SapiVoice>(std::make_unique<SpVoicePort>(std::move(voice), apartment), live_);
}

}  // namespace hosts::sapi
