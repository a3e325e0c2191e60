#include "hosts/com/CallWorker.h"

#include <condition_variable>
#include <deque>
#include <mutex>
#include <utility>

#include <objbase.h>

namespace hosts::com {

namespace {

// An event that closes itself.
struct Signal {
    HANDLE handle = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    Signal() = default;
    Signal(const Signal&) = delete;
    Signal& operator=(const Signal&) = delete;
    ~Signal() {
        if (handle != nullptr) CloseHandle(handle);
    }
};

struct Pending {
    CallWorker::Job job;
    HRESULT result = E_PENDING;
    Signal done;
};

}  // namespace

// Everything the thread touches, kept alive by whichever of the thread and the owner ends last.
struct CallWorker::Shared {
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::shared_ptr<Pending>> queue;
    bool stopping = false;
    Open open;
    HRESULT opened = E_PENDING;
    Signal openDone;
    // The worker's object once opened, for a call made beside the worker; under the mutex.
    IUnknown* object = nullptr;
    bool busy = false;  // a job is out with EchoLink
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
    HRESULT opened = CO_E_NOTINITIALIZED;
    if (apartment) {
        opened = shared->open(&object);
        if (FAILED(opened) && object != nullptr) {
            object->Release();
            object = nullptr;
        }
    }
    shared->open = nullptr;
    {
        const std::lock_guard lock(shared->mutex);
        shared->opened = opened;
        if (object != nullptr) {
            object->AddRef();
            shared->object = object;
        }
    }
    SetEvent(shared->openDone.handle);
    for (;;) {
        std::shared_ptr<Pending> next;
        {
            std::unique_lock lock(shared->mutex);
            shared->wake.wait(lock, [&] { return shared->stopping || !shared->queue.empty(); });
            if (shared->queue.empty()) break;
            next = std::move(shared->queue.front());
            shared->queue.pop_front();
            shared->busy = true;
        }
        next->result = object != nullptr ? next->job(object) : CO_E_OBJNOTCONNECTED;
        next->job = nullptr;  // its arguments go now, on this thread, not when the owner lets go
        {
            const std::lock_guard lock(shared->mutex);
            shared->busy = false;
        }
        SetEvent(next->done.handle);
    }
    IUnknown* besideCopy = nullptr;
    {
        const std::lock_guard lock(shared->mutex);
        besideCopy = std::exchange(shared->object, nullptr);
    }
    if (besideCopy != nullptr) besideCopy->Release();
    if (object != nullptr) object->Release();
    if (apartment) CoUninitialize();
    return 0;
}

// One call made beside the worker, on the same object: another thread of the same apartment may use it.
struct Beside {
    CallWorker::Job job;
    IUnknown* object;
};

DWORD WINAPI BesideMain(void* parameter) {
    std::unique_ptr<Beside> call(static_cast<Beside*>(parameter));
    const bool apartment = SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED));
    if (apartment) call->job(call->object);
    call->job = nullptr;
    call->object->Release();
    if (apartment) CoUninitialize();
    return 0;
}

}  // namespace

CallWorker::CallWorker(Open open, DWORD boundMs) : shared_(std::make_shared<Shared>()), boundMs_(boundMs) {
    shared_->open = std::move(open);
    auto* forThread = new std::shared_ptr<Shared>(shared_);
    thread_ = CreateThread(nullptr, 0, WorkerMain, forThread, 0, nullptr);
    if (thread_ == nullptr) delete forThread;
}

CallWorker::~CallWorker() {
    Finish(nullptr, 0, nullptr);
    if (thread_ != nullptr) CloseHandle(thread_);
}

HRESULT CallWorker::Wait(HANDLE handle, DWORD ms) const {
    DWORD index = 0;
    // COM's own wait: it lets calls into this apartment in while we wait, and unlike a message
    // filter's cancel it ends at the bound under Wine as well.
    const HRESULT waited = CoWaitForMultipleHandles(0, ms, 1, &handle, &index);
    return waited == RPC_S_CALLPENDING ? RPC_E_TIMEOUT : waited;
}

HRESULT CallWorker::Opened() {
    if (thread_ == nullptr) return E_OUTOFMEMORY;
    const HRESULT waited = Wait(shared_->openDone.handle, boundMs_);
    if (FAILED(waited)) return waited;
    const std::lock_guard lock(shared_->mutex);
    return shared_->opened;
}

HRESULT CallWorker::Run(Job job) {
    if (thread_ == nullptr || finished_) return CO_E_OBJNOTCONNECTED;
    auto pending = std::make_shared<Pending>();
    if (pending->done.handle == nullptr) return E_OUTOFMEMORY;
    pending->job = std::move(job);
    {
        const std::lock_guard lock(shared_->mutex);
        shared_->queue.push_back(pending);
    }
    shared_->wake.notify_one();
    // While EchoLink is still making its object (past the bound already), a call waits behind it
    // and is given up at once: a slow start costs the window one bound, not one for every call.
    if (WaitForSingleObject(shared_->openDone.handle, 0) != WAIT_OBJECT_0) return RPC_E_TIMEOUT;
    const HRESULT waited = Wait(pending->done.handle, boundMs_);
    return FAILED(waited) ? waited : pending->result;
}

CallWorker::Remote CallWorker::AnyThread() const {
    Remote remote;
    if (thread_ != nullptr) remote.shared_ = shared_;
    return remote;
}

HRESULT CallWorker::Remote::Run(Job job, DWORD ms) const {
    if (shared_ == nullptr) return CO_E_OBJNOTCONNECTED;
    auto pending = std::make_shared<Pending>();
    if (pending->done.handle == nullptr) return E_OUTOFMEMORY;
    pending->job = std::move(job);
    {
        const std::lock_guard lock(shared_->mutex);
        if (shared_->stopping) return CO_E_OBJNOTCONNECTED;
        shared_->queue.push_back(pending);
    }
    shared_->wake.notify_one();
    const DWORD waited = WaitForSingleObject(pending->done.handle, ms);
    if (waited == WAIT_TIMEOUT) return RPC_E_TIMEOUT;
    return waited == WAIT_OBJECT_0 ? pending->result : E_FAIL;
}

HRESULT CallWorker::Finish(Job owed, DWORD owedBoundMs, Job last) {
    if (finished_) return S_OK;
    finished_ = true;
    if (thread_ == nullptr) return S_OK;
    std::shared_ptr<Pending> owedInQueue;
    {
        const std::lock_guard lock(shared_->mutex);
        // Only a worker held up by EchoLink needs the call beside it; an idle one sends it at once.
        if (owed && shared_->object != nullptr && (shared_->busy || !shared_->queue.empty())) {
            shared_->object->AddRef();
            auto* beside = new Beside{owed, shared_->object};
            const HANDLE besideThread = CreateThread(nullptr, 0, BesideMain, beside, 0, nullptr);
            if (besideThread != nullptr) {
                CloseHandle(besideThread);
            } else {
                beside->object->Release();
                delete beside;
            }
        }
        // Calls given up at the bound stay queued: they still reach EchoLink if it wakes in time.
        if (owed) {
            owedInQueue = std::make_shared<Pending>();
            owedInQueue->job = std::move(owed);
            shared_->queue.push_back(owedInQueue);
        }
        if (last) {
            auto pending = std::make_shared<Pending>();
            pending->job = std::move(last);
            shared_->queue.push_back(std::move(pending));
        }
        shared_->stopping = true;
    }
    shared_->wake.notify_one();
    // Still opening: the bound for that has passed already, nothing can be owed to an object not
    // yet made, and the thread lets go of it once it comes.
    if (WaitForSingleObject(shared_->openDone.handle, 0) != WAIT_OBJECT_0) return RPC_E_TIMEOUT;
    if (owedInQueue != nullptr && owedInQueue->done.handle != nullptr) Wait(owedInQueue->done.handle, owedBoundMs);
    // Disconnecting and the last release are calls to EchoLink too: one bound for them all, so a
    // hung EchoLink cannot hold the program's exit.
    const HRESULT waited = Wait(thread_, boundMs_);
    return FAILED(waited) ? waited : S_OK;
}

}  // namespace hosts::com
