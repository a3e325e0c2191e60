#include "hosts/speech/PulseSink.h"

#include <pulse/error.h>
#include <pulse/simple.h>

namespace hosts::speech {

PulseSink::PulseSink(std::string appName) : appName_(std::move(appName)) {}

PulseSink::~PulseSink() {
    if (stream_ != nullptr) pa_simple_free(stream_);
}

bool PulseSink::Open(int sampleRate) {
    if (stream_ != nullptr || sampleRate <= 0) return false;
    pa_sample_spec sampleFormat{};
    sampleFormat.format = PA_SAMPLE_S16NE;
    sampleFormat.rate = static_cast<std::uint32_t>(sampleRate);
    sampleFormat.channels = 1;
    int error = 0;
    stream_ = pa_simple_new(nullptr, appName_.c_str(), PA_STREAM_PLAYBACK, nullptr, "speech", &sampleFormat, nullptr,
                            nullptr, &error);
    return stream_ != nullptr;
}

bool PulseSink::Write(const std::int16_t* samples, std::size_t count) {
    if (stream_ == nullptr) return false;
    int error = 0;
    return pa_simple_write(stream_, samples, count * sizeof(std::int16_t), &error) == 0;
}

bool PulseSink::Drain() {
    if (stream_ == nullptr) return false;
    int error = 0;
    return pa_simple_drain(stream_, &error) == 0;
}

bool PulseSink::Discard() {
    if (stream_ == nullptr) return false;
    int error = 0;
    return pa_simple_flush(stream_, &error) == 0;
}

}  // namespace hosts::speech
