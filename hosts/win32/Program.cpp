#include "hosts/win32/Program.h"

#include <string_view>
#include <vector>

#include "forms/Description.h"
#include "gdi/CarriedFiles.h"
#include "hosts/win32/FormWindow.h"
#include "hosts/win32/OneCopy.h"
#include "hosts/win32/SessionWatch.h"
#include "hosts/wide/WideText.h"
#include "hosts/win32/ShellOpen.h"
#include "relay/AboutWindow.h"
#include "relay/Form1.h"

#include <windows.h>

namespace hosts::win32 {

namespace {

::HWND Native(win::HWND h) { return reinterpret_cast<::HWND>(h.value); }

// One handler of Form1's under way on the window's thread, however it leaves.
class Inside {
public:
    explicit Inside(int& depth) : depth_(depth) { ++depth_; }
    ~Inside() { --depth_; }
    Inside(const Inside&) = delete;
    Inside& operator=(const Inside&) = delete;

private:
    int& depth_;
};

// EchoLink's events pass through here on their way to Form1, counted as its handlers.
class CountedEchoLink final : public echolink::EchoLinkFactory, public echolink::ChatEvents {
public:
    CountedEchoLink(echolink::EchoLinkFactory& inner, int& depth) : inner_(inner), depth_(depth) {}
    std::unique_ptr<echolink::EchoLink> Create(echolink::ChatEvents& events) override {
        target_ = &events;
        return inner_.Create(*this);
    }
    void ChatTextReceived(const std::string& line) override {
        const Inside in(depth_);
        target_->ChatTextReceived(line);
    }
    void ChatTextArrived(const std::string& line, std::chrono::milliseconds arrivedAt) override {
        const Inside in(depth_);
        target_->ChatTextArrived(line, arrivedAt);
    }
    void Closing() override {
        const Inside in(depth_);
        target_->Closing();
    }

private:
    echolink::EchoLinkFactory& inner_;
    int& depth_;
    echolink::ChatEvents* target_ = nullptr;
};

// A description read as every picture is: from the files the program carries, or the disk.
forms::Document Describe(const std::filesystem::path& file) {
    const std::vector<std::uint8_t> bytes = gdi::ReadFileBytes(file);
    forms::Document doc = forms::ParseDescription(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), file.string(), file.parent_path());
    doc.File = file;
    return doc;
}

}  // namespace

Program::Program(const ProgramFiles& files, forms::Scale scale, echolink::EchoLinkFactory& echoLink,
                 relay::SpeechEngine& speech, GuardPaths guardPaths, std::chrono::milliseconds transmitLimit)
    : files_(files), scale_(scale), echoLink_(echoLink), speech_(speech), log_(std::make_unique<DebugOutputLog>()),
      guardPaths_(std::move(guardPaths)),
      guard_(guardTimer_, relay::GuardActions{guardPaths_.unkey, guardPaths_.stopAudio, &log_}),
      countedEchoLink_(std::make_unique<CountedEchoLink>(echoLink_, inForm1_)) {
    main_ = std::make_unique<FormWindow>(Describe(files_.mainWindow), windows_, scale_, files_.bigIcon,
                                         files_.smallIcon);
    MarkFirstCopy(main_->Handle().value);
    form1_ = std::make_unique<relay::Form1>(relay::Form1Services{*countedEchoLink_, *this, speech_, pause_, *this,
                                                                 &log_, transmitLimit, &guard_});
    main_->OnClick = [this](const std::string& name) {
        const Inside in(inForm1_);
        form1_->Click(name);
    };
    main_->OnCloseBox = [this] {
        const Inside in(inForm1_);
        form1_->CloseBox();
    };
    main_->OnSessionEnd = [this] { SessionEnds(); };
    // Told of the session's end even while speech or EchoLink holds the window's thread.
    sessionWatch_ = std::make_unique<SessionWatch>([this] { UnkeyIfKeyed(); });
}

Program::~Program() {
    sessionWatch_.reset();
    // Letting go of EchoLink waits in COM's loop, which still dispatches the window's messages: a
    // click meanwhile must not reach the logic being destroyed.
    main_->OnClick = nullptr;
    main_->OnCloseBox = nullptr;
    main_->OnSessionEnd = nullptr;
    form1_.reset();  // drops oEchoLink and its event connection before the windows go
    main_.reset();
}

void Program::UnkeyIfKeyed() {
    if (!guard_.Armed()) return;
    // As the guard at its time: the unkeying first, then the audio, then the notice.
    const echolink::HResult result = guardPaths_.unkey ? guardPaths_.unkey() : echolink::kNoObject;
    if (guardPaths_.stopAudio) guardPaths_.stopAudio();
    log_.Line(std::string("Dizo chat: the session is ending while keyed: ") +
              (result.Failed() ? "the unkeying failed" : "unkeyed"));
}

void Program::SessionEnds() {
    UnkeyIfKeyed();
    if (form1_ == nullptr) return;
    {
        const Inside in(inForm1_);
        form1_->CloseBox();
    }
    // Windows may end the process as soon as this returns, before the loop gets to the quit: the
    // logic is let go now, and with it EchoLink, which gets what it is still owed (bounded). Not
    // from inside one of its handlers (the About window's loop, an EchoLink call's wait), which
    // still use it: the unkeying above came first all the same.
    if (inForm1_ > 0) return;
    main_->OnClick = nullptr;
    main_->OnCloseBox = nullptr;
    form1_.reset();
}

int Program::Run() {
    {
        const Inside in(inForm1_);
        form1_->Load();
    }
    if (ending_) return exitCode_;
    main_->Show();
    return Loop(false);
}

int Program::Loop(bool modal) {
    MSG m;
    for (;;) {
        if (modal && aboutUnloading_) return 0;
        const BOOL got = ::GetMessageW(&m, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // An inner loop hands the quit on to the outer one.
            if (modal) ::PostQuitMessage(static_cast<int>(m.wParam));
            return got == 0 ? static_cast<int>(m.wParam) : 1;
        }
        // Tab, access keys, Enter and Esc go to the dialog rules of the window in front.
        FormWindow* front = about_ != nullptr ? about_ : main_.get();
        if (front != nullptr && front->DialogKey(win::HWND(reinterpret_cast<std::uintptr_t>(m.hwnd)), m.message,
                                                 m.wParam, m.lParam))
            continue;
        ::TranslateMessage(&m);
        ::DispatchMessageW(&m);
    }
}

bool Program::ShowModal(relay::Window window) {
    if (window != relay::Window::Sobre || about_ != nullptr || ending_) return false;
    std::unique_ptr<FormWindow> about;
    try {
        about = std::make_unique<FormWindow>(Describe(files_.aboutWindow), windows_, scale_,
                                             files_.bigIcon, files_.smallIcon);
    } catch (const std::exception&) {
        return false;  // a failure to show the About window is ignored by the caller
    }
    relay::AboutWindow logic(*this, *this);
    about->OnClick = [&logic](const std::string& name) { logic.Click(name); };
    about->OnCloseBox = [this] { Unload(relay::Window::Sobre); };
    // Modal with no owner: its own top-level window, the main window disabled meanwhile.
    const ::HWND mainWindow = Native(main_->Handle());
    ::EnableWindow(mainWindow, FALSE);
    about_ = about.get();
    aboutUnloading_ = false;
    about->Show();
    Loop(true);
    ::EnableWindow(mainWindow, TRUE);
    about_ = nullptr;
    about.reset();
    if (!ending_) {
        ::SetForegroundWindow(mainWindow);
    } else if (mainUnloaded_) {
        ::PostQuitMessage(0);  // the main window went while this one was up: no window is left
    }
    return true;
}

void Program::Unload(relay::Window window) {
    if (window == relay::Window::Sobre) {
        // The modal loop ends once the Click handler has returned, never from inside it.
        if (about_ != nullptr) {
            aboutUnloading_ = true;
            ::PostMessageW(Native(about_->Handle()), WM_NULL, 0, 0);
        }
        return;
    }
    if (ending_) return;
    ending_ = true;
    // The program ends once no window is left: an About window up stays until it is closed.
    if (about_ != nullptr) {
        mainUnloaded_ = true;
        ::ShowWindow(Native(main_->Handle()), SW_HIDE);
        return;
    }
    ::PostQuitMessage(0);
}

void Program::EndNow() {
    // No exit steps, no announcement: the loops stop as soon as this handler returns.
    ending_ = true;
    ::PostQuitMessage(0);
}

std::intptr_t Program::Open(const relay::ShellOpenRequest& request) {
    const FormWindow* parent = request.parent == relay::Window::Sobre && about_ != nullptr ? about_ : main_.get();
    return ShellOpen(parent->Handle(), request);
}

relay::NamedControls* Program::MainControls() const { return main_.get(); }

}  // namespace hosts::win32
