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

    // `object` is this thread's interface pointer to EchoLink, of interface `iid`; no wait for the
    // worker lasts longer than `boundMs`.
    CallWorker(IUnknown* object, REFIID iid, DWORD boundMs);
    // Finishes with no last call, if Finish has not been called.
    ~CallWorker();
    CallWorker(const CallWorker&) = delete;
    CallWorker& operator=(const CallWorker&) = delete;

    // True when the worker runs with its own proxy of the object.
    bool Connected() const { return connected_; }

    // Runs `job` on the worker and waits at most the bound for it, while COM delivers calls into
    // this thread's apartment (EchoLink's events). RPC_E_TIMEOUT when the bound passed first; the
    // job then still runs, and later jobs queue behind it.
    HRESULT Run(Job job);

    // Runs `last` (may be empty) after the calls already queued, then lets go of the worker's
    // proxy and ends the thread, waiting for all of it at most one bound. Past the bound the
    // thread is left to finish by itself (RPC_E_TIMEOUT); later calls to Run fail.
    HRESULT Finish(Job last);

    struct Shared;  // the queue the thread and its owner share, in the .cpp

private:
    HRESULT Wait(HANDLE handle) const;

    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
    DWORD boundMs_;
    bool connected_ = false;
    bool finished_ = false;
};

}  // namespace hosts::com
