// A recording stand-in for EchoLink, for tests and benchmarks: records every operation in order,
// fails on request, and raises the two events into whatever the factory connected.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "echolink/EchoLink.h"

namespace echolink {

enum class Operation { SetTransmit, SendMorse, PostChatLine };

struct RecordedCall {
    Operation op = Operation::PostChatLine;
    bool keyed = false;         // SetTransmit
    std::int32_t reserved = 0;  // SendMorse
    Variant text;               // SendMorse
    std::string line;           // PostChatLine
    friend bool operator==(const RecordedCall&, const RecordedCall&) = default;
};

// A readable form of a call, for logs that interleave EchoLink with the other fakes.
std::string Describe(const RecordedCall& call);

// The factory holds the record, so it stays readable after the object it made is gone.
class FakeEchoLinkFactory : public EchoLinkFactory {
public:
    bool available = true;          // false: Create returns null
    bool failSetTransmit = false;   // the operation is recorded, then fails
    bool failSendMorse = false;
    bool failPostChatLine = false;
    bool recordCalls = true;        // benchmarks turn recording off
    std::vector<RecordedCall> calls;
    std::function<void(const RecordedCall&)> onCall;  // called after each recorded call
    // When set, answers every call in place of the fail switches: may let virtual time pass, as a
    // station that hangs or answers after the caller's bound.
    std::function<HResult(const RecordedCall&)> answer;
    int created = 0;

    std::unique_ptr<EchoLink> Create(ChatEvents& events) override;

    bool Connected() const { return events_ != nullptr; }
    // Raises the events into the connected listener; does nothing once the object is gone.
    void RaiseChatTextReceived(const std::string& line) {
        if (events_) {
            events_->ChatTextReceived(line);
        }
    }
    void RaiseChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) {
        if (events_) {
            events_->ChatTextArrived(line, arrivedAt);
        }
    }
    void RaiseClosing() {
        if (events_) {
            events_->Closing();
        }
    }

private:
    friend class FakeEchoLink;
    HResult Record(RecordedCall call, bool fail);

    ChatEvents* events_ = nullptr;
};

class FakeEchoLink : public EchoLink {
public:
    explicit FakeEchoLink(FakeEchoLinkFactory& owner) : owner_(owner) {}
    ~FakeEchoLink() override { owner_.events_ = nullptr; }
    FakeEchoLink(const FakeEchoLink&) = delete;
    FakeEchoLink& operator=(const FakeEchoLink&) = delete;

    HResult SetTransmit(bool keyed) override;
    HResult SendMorse(std::int32_t reserved, const Variant& text) override;
    HResult PostChatLine(const std::string& line) override;

private:
    FakeEchoLinkFactory& owner_;
};

}  // namespace echolink
