// Calls to EchoLink made on a thread of their own, so the window's thread stops waiting at a bound
// even when EchoLink never answers. Owns that thread, its object (made there) and its queue of calls.
#pragma once

#include <functional>
#include <memory>

#include <windows.h>
#include <unknwn.h>

namespace hosts::com {

class CallWorker {
public:
    // A call made on the worker's object (null when it could not get one).
    using Job = std::function<HRESULT(IUnknown* object)>;
    // Gets the worker's object, on the worker, before any job: creating it is a call to EchoLink too.
    using Open = std::function<HRESULT(IUnknown** object)>;

    // No wait for the worker lasts longer than `boundMs`, except the one Finish makes for an owed call.
    CallWorker(Open open, DWORD boundMs);
    // Finishes with no last call, if Finish has not been called.
    ~CallWorker();
    CallWorker(const CallWorker&) = delete;
    CallWorker& operator=(const CallWorker&) = delete;

    // Waits at most the bound for Open: its result, or RPC_E_TIMEOUT. Past the bound Open still
    // runs; the jobs queued meanwhile follow it, and what it opened is let go at Finish.
    HRESULT Opened();

    // Runs `job` on the worker and waits at most the bound for it, while COM delivers calls into
    // this thread's apartment. RPC_E_TIMEOUT when the bound passed first; the job then still runs,
    // and later jobs queue behind it. While Open is still under way, past Opened's bound, the job
    // is queued behind it and RPC_E_TIMEOUT comes at once.
    HRESULT Run(Job job);

    // Ends the worker. `owed` (may be empty) is a call that must reach EchoLink before this process
    // ends: while the worker waits for EchoLink, it is made at once from a thread of its own beside
    // it, so that EchoLink has it even if the process is gone before it answers; and in any case
    // after the calls already queued, so that it comes after them whatever order EchoLink takes.
    // The wait for that second one lasts at most `owedBoundMs`. Then `last` (may be empty) runs,
    // the object is let go and the thread ends, all within one bound more; past it the thread is
    // left to finish by itself (RPC_E_TIMEOUT). Later calls to Run fail.
    HRESULT Finish(Job owed, DWORD owedBoundMs, Job last);

    struct Shared;  // the queue the thread and its owner share, in the .cpp

    // A way into the queue for threads other than the owner's (the transmit guard's), kept safely
    // past the worker's end: its calls then fail at once.
    class Remote {
    public:
        // Queues `job` and waits at most `ms` for it with a plain wait, which runs no window's
        // messages. RPC_E_TIMEOUT when the time passed first; CO_E_OBJNOTCONNECTED once the
        // worker is finishing.
        HRESULT Run(Job job, DWORD ms) const;

    private:
        friend class CallWorker;
        std::shared_ptr<Shared> shared_;
    };
    Remote AnyThread() const;

private:
    HRESULT Wait(HANDLE handle, DWORD ms) const;

    std::shared_ptr<Shared> shared_;
    HANDLE thread_ = nullptr;
    DWORD boundMs_;
    bool finished_ = false;
};

}  // namespace hosts::com
