// Calls to EchoLink made on a thread of their own, so the window's thread stops waiting at a bound
// even when EchoLink never answers. Owns that thread's proxy of the object and its queue of calls.
#pragma once

#include <functional>
#include <memory>

#include <windows.h>
#include <unknwn.h>

namespace hosts::com {

class CallWorker {
public:
    // A call made on the worker's own proxy of the object (null when it could not get one).
    using Job = std::function<HRESULT(IUnknown* object)>;

    // `object` is this thread's interface pointer to EchoLink, of interface `iid`.
    CallWorker(IUnknown* object, REFIID iid);
    // Waits for a call still running at most one bound; a hung one is left behind with the thread.
    ~CallWorker();
    CallWorker(const CallWorker&) = delete;
    CallWorker& operator=(const CallWorker&) = delete;

    // Runs `job` on the worker and waits at most `boundMs` for it, while COM delivers calls into
    // this thread's apartment (EchoLink's events). RPC_E_TIMEOUT when the bound passed first; the
    // job then still runs, and later jobs queue behind it.
    HRESULT Run(Job job, DWORD boundMs);

    struct Shared;  // the queue the thread and its owner share, in the .cpp

private:
    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
    DWORD lastBoundMs_ = 0;
};

}  // namespace hosts::com
