#include "relay/Form1.h"

#include "relay/Steps.h"
#include "relay/Texts.h"

namespace relay {

Form1::Form1(const Form1Services& services) : services_(services) {}

void Form1::Load() {
    TryStep([&] { oEchoLink_.Create(services_.echoLink, *this); });
    TryStep([&] { oEchoLink_.PostChatLine(std::string(kAnnounceOn)); });
    ShowLamps(true);
    TryStep([&] { services_.controls.SetText(Control::Text13, std::string()); });
    TryStep([&] { services_.controls.SetFocus(Control::Text13); });
}

bool Form1::Click(std::string_view buttonName) {
    if (ending_ || endAsked_.load() || modalDepth_ > 0) {
        return false;
    }
    struct Route {
        std::string_view name;
        void (Form1::*handler)();
    };
    static constexpr Route routes[] = {
        {"ligar", &Form1::LigarClick},     {"desligar", &Form1::DesligarClick}, {"sair", &Form1::SairClick},
        {"local", &Form1::LocalClick},     {"remoto", &Form1::RemotoClick},     {"a_ajuda", &Form1::AAjudaClick},
        {"f_ajuda", &Form1::FAjudaClick},  {"sobre", &Form1::SobreClick},
    };
    for (const Route& route : routes) {
        if (route.name == buttonName) {
            (this->*route.handler)();
            return true;
        }
    }
    return false;
}

bool Form1::RelayOn() const {
    return services_.controls.Visible(Control::Image2);
}

void Form1::ShowLamps(bool on) {
    TryStep([&] { services_.controls.SetVisible(Control::Image2, on); });
    TryStep([&] { services_.controls.SetVisible(Control::Image3, !on); });
}

void Form1::LigarClick() {
    if (!services_.controls.Visible(Control::Image2)) {
        TryStep([&] { oEchoLink_.PostChatLine(std::string(kAnnounceOn)); });
        ShowLamps(true);
    }
    TryStep([&] { services_.controls.SetFocus(Control::Text1); });
}

void Form1::DesligarClick() {
    if (!services_.controls.Visible(Control::Image3)) {
        TryStep([&] { oEchoLink_.PostChatLine(std::string(kAnnounceOff)); });
        ShowLamps(false);
    }
}

void Form1::SairClick() {
    ExitSteps();
}

void Form1::Closing() {
    ExitSteps();
}

void Form1::CloseBox() {
    if (ending_) {
        return;
    }
    ending_ = true;
    FlushNotices();
    services_.program.Unload(Window::Form1);
}

void Form1::ExitSteps() {
    if (ending_) {
        return;
    }
    ending_ = true;
    FlushNotices();
    // The announcement's failure (no EchoLink, EchoLink gone) is not reported: the program ends
    // either way, and EchoLink may well be the one closing.
    if (!services_.controls.Visible(Control::Image3)) {
        TryStep([&] { oEchoLink_.PostChatLine(std::string(kAnnounceOff)); });
    }
    services_.program.Unload(Window::Form1);
}

}  // namespace relay
