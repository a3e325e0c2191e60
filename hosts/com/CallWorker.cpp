#include "hosts/com/CallWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>

#include <objbase.h>

namespace hosts::com {

namespace {

struct Pending {
    CallWorker::Job job;
    HRESULT result = E_PENDING;
    HANDLE done = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ~Pending() {
        if (done != nullptr) CloseHandle(done);
    }
};

}  // namespace

// Everything the thread touches, kept alive by whichever of the thread and the owner ends last.
struct CallWorker::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<Pending>> queue;
    bool stopping = false;
    IStream* marshalled = nullptr;
    IID iid{};
};

namespace {

DWORD WINAPI WorkerMain(void* parameter) {
    // The thread's reference to the shared state came with it.
    std::shared_ptr<CallWorker::Shared> shared(std::move(*static_cast<std::shared_ptr<CallWorker::Shared>*>(parameter)));
    delete static_cast<std::shared_ptr<CallWorker::Shared>*>(parameter);
    // A thread of the multi-threaded apartment calls EchoLink directly, whatever the window's
    // thread is doing.
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    IUnknown* object = nullptr;
    if (apartment && shared->marshalled != nullptr &&
        FAILED(CoGetInterfaceAndReleaseStream(shared->marshalled, shared->iid, reinterpret_cast<void**>(&object)))) {
        object = nullptr;
    }
    shared->marshalled = nullptr;
    for (;;) {
        std::shared_ptr<Pending> next;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->stopping || !shared->queue.empty(); });
            if (shared->queue.empty()) break;
            next = std::move(shared->queue.front());
            shared->queue.pop_front();
        }
        next->result = object != nullptr ? next->job(object) : CO_E_OBJNOTCONNECTED;
        next->job = nullptr;  // its arguments go now, on this thread, not when the owner lets go
        SetEvent(next->done);
    }
    if (object != nullptr) object->Release();
    if (apartment) CoUninitialize();
    return 0;
}

}  // namespace

CallWorker::CallWorker(IUnknown* object, REFIID iid, DWORD boundMs)
    : shared_(std::make_shared<Shared>()), boundMs_(boundMs) {
    shared_->iid = iid;
    if (object == nullptr || FAILED(CoMarshalInterThreadInterfaceInStream(iid, object, &shared_->marshalled))) {
        shared_->marshalled = nullptr;
    }
    // Read before the thread starts: it takes the stream as it begins.
    const bool marshalled = shared_->marshalled != nullptr;
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    thread_ = CreateThread(nullptr, 0, WorkerMain, forThread, 0, nullptr);
    if (thread_ == nullptr) {
        delete forThread;
        if (shared_->marshalled != nullptr) shared_->marshalled->Release();
        shared_->marshalled = nullptr;
    }
    connected_ = thread_ != nullptr && marshalled;
}

CallWorker::~CallWorker() {
    Finish(nullptr);
    if (thread_ != nullptr) CloseHandle(thread_);
}

HRESULT CallWorker::Wait(HANDLE handle) const {
    DWORD index = 0;
    // COM's own wait: it lets EchoLink's calls into this apartment in while we wait, and unlike a
    // message filter's cancel it ends at the bound under Wine as well.
    const HRESULT waited = CoWaitForMultipleHandles(0, boundMs_, 1, &handle, &index);
    return waited == RPC_S_CALLPENDING ? RPC_E_TIMEOUT : waited;
}

HRESULT CallWorker::Run(Job job) {
    if (thread_ == nullptr || finished_) return CO_E_OBJNOTCONNECTED;
    auto pending = std::make_shared<Pending>();
    if (pending->done == nullptr) return E_OUTOFMEMORY;
    pending->job = std::move(job);
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->queue.push_back(pending);
    }
    shared_->wake.notify_one();
    const HRESULT waited = Wait(pending->done);
    return FAILED(waited) ? waited : pending->result;
}

HRESULT CallWorker::Finish(Job last) {
    if (finished_) return S_OK;
    finished_ = true;
    if (thread_ == nullptr) return S_OK;
    {
        const std::lock_guard lock(shared_->mutex);
        // Calls given up at the bound stay queued: a farewell still reaches EchoLink if it wakes in time.
        if (last) {
            auto pending = std::make_shared<Pending>();
            pending->job = std::move(last);
            shared_->queue.push_back(std::move(pending));
        }
        shared_->stopping = true;
    }
    shared_->wake.notify_one();
    // Disconnecting and the last release are calls to EchoLink too: one bound for them all, so a
    // hung EchoLink cannot hold the program's exit.
    const HRESULT waited = Wait(thread_);
    return FAILED(waited) ? waited : S_OK;
}

}  // namespace hosts::com
