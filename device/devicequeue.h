#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

// Runs the device's commands one after another, off the GUI thread, in the
// order they were asked for. Each job is one whole command (request, output
// reports, pauses); a job asked for while another runs waits its turn and is
// never dropped, except when the device is gone (the rest of the batch is
// dropped with one notice) or the program quits.
//
// Without a worker (the default, as in unit tests) every job runs at once on
// the caller's thread, so the queue changes nothing but where the work runs.
class DeviceQueue
{
public:
    using Job = std::function<void()>;
    static constexpr int NoMerge = -1;

    DeviceQueue();
    ~DeviceQueue();
    DeviceQueue(const DeviceQueue &) = delete;
    DeviceQueue &operator=(const DeviceQueue &) = delete;

    // Starts the device thread; from now on jobs run there.
    void startWorker();
    bool threaded() const;
    bool onWorker() const;

    // Queues a write. A write with a merge key whose key matches one that is
    // queued and has not started takes that one's place: the content is the
    // latest, the position the earliest, and it goes out once.
    void post(Job job, int mergeKey = NoMerge);

    // Runs `job` after every job queued before it and waits for it, at most
    // timeoutMs. False when it did not run in time (a job that had not started
    // is taken back). While waiting on the thread that runs Qt's event loop
    // the window keeps painting (user input waits until the read is done).
    bool call(const Job &job, int timeoutMs);

    // Waits until nothing is queued or running, at most timeoutMs.
    bool waitIdle(int timeoutMs);

    // Finishes the running job, drops the rest and ends the device thread.
    // Later posts run at once on the caller's thread again.
    void stop();

    // Jobs queued or running.
    int pending() const;
    bool busy() const { return pending() > 0; }

    // Seams, called on the device thread: after each job, whether the device
    // is gone (then the rest of the queue is dropped and onDropped tells how
    // many); and when the queue may have turned busy or idle (ask busy():
    // calls from the two threads may arrive in either order).
    std::function<bool()> deviceGone;
    std::function<void(int dropped)> onDropped;
    std::function<void()> onBusyChanged;

private:
    struct Entry
    {
        Job job;
        int mergeKey = NoMerge;
        // Set (under m_lock) once the job ran or was dropped; only for calls.
        std::shared_ptr<bool> ended;
    };
    void run();
    // Whether the busy state changed; the caller tells onBusyChanged
    // outside the lock.
    bool updateBusy();   // under m_lock

    mutable std::mutex m_lock;
    std::condition_variable m_wake;   // the worker: a job came, or stop
    std::condition_variable m_done;   // waiters: a job ended
    std::deque<Entry> m_jobs;
    std::thread m_worker;
    std::thread::id m_workerId;
    bool m_threaded = false;
    bool m_stopping = false;
    bool m_running = false;
    bool m_busy = false;
};
