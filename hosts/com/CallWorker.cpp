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

CallWorker::CallWorker(IUnknown* object, REFIID iid) : shared_(std::make_shared<Shared>()) {
    shared_->iid = iid;
    if (object == nullptr || FAILED(CoMarshalInterThreadInterfaceInStream(iid, object, &shared_->marshalled))) {
        shared_->marshalled = nullptr;
    }
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    thread_ = CreateThread(nullptr, 0, WorkerMain, forThread, 0, nullptr);
    if (thread_ == nullptr) {
        delete forThread;
        if (shared_->marshalled != nullptr) shared_->marshalled->Release();
        shared_->marshalled = nullptr;
    }
}

CallWorker::~CallWorker() {
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->stopping = true;
        shared_->queue.clear();
    }
    shared_->wake.notify_one();
    if (thread_ != nullptr) {
        WaitForSingleObject(thread_, lastBoundMs_);
        CloseHandle(thread_);
    }
}

HRESULT CallWorker::Run(Job job, DWORD boundMs) {
    lastBoundMs_ = boundMs;
    if (thread_ == nullptr) return CO_E_OBJNOTCONNECTED;
    auto pending = std::make_shared<Pending>();
    if (pending->done == nullptr) return E_OUTOFMEMORY;
    pending->job = std::move(job);
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->queue.push_back(pending);
    }
    shared_->wake.notify_one();
    DWORD index = 0;
    // COM's own wait: it lets EchoLink's calls into this apartment in while we wait, and unlike a
    // message filter's cancel it ends at the bound under Wine as well.
    const HRESULT waited = CoWaitForMultipleHandles(0, boundMs, 1, &pending->done, &index);
    if (waited == RPC_S_CALLPENDING) return RPC_E_TIMEOUT;
    if (FAILED(waited)) return waited;
    return pending->result;
}

}  // namespace hosts::com
