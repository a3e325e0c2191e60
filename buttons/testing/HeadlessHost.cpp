#include "buttons/testing/HeadlessHost.h"

namespace buttons::testing {

std::vector<std::string> HeadlessHost::Notifications() const {
    std::vector<std::string> out;
    for (const auto& r : records_) {
        if (r.kind == Record::Kind::PropertyChanged) out.push_back(r.text);
    }
    return out;
}

std::vector<std::string> HeadlessHost::Messages() const {
    std::vector<std::string> out;
    for (const auto& r : records_) {
        if (r.kind == Record::Kind::Message) out.push_back(r.text);
    }
    return out;
}

void HeadlessHost::PropertyChanged(const std::string& key) {
    records_.push_back(Record{Record::Kind::PropertyChanged, key, {}});
}

void HeadlessHost::InfoMessage(const std::string& text) { records_.push_back(Record{Record::Kind::Message, text, {}}); }

void HeadlessHost::InfoMessageWithTitle(const std::string& text, const std::string& title) {
    records_.push_back(Record{Record::Kind::Message, text, title});
}

}  // namespace buttons::testing
