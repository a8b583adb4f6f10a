#include "devicequeue.h"

#include <QCoreApplication>
#include <QThread>
#include <chrono>

namespace {

// How long one wait on the GUI thread blocks before it lets the window paint.
constexpr auto kPaintSlice = std::chrono::milliseconds(4);

bool onEventLoopThread()
{
    QCoreApplication *app = QCoreApplication::instance();
    return app && QThread::currentThread() == app->thread();
}

} // namespace

DeviceQueue::DeviceQueue() = default;

DeviceQueue::~DeviceQueue()
{
    stop();
}

void DeviceQueue::startWorker()
{
    std::lock_guard<std::mutex> lock(m_lock);
    if (m_threaded)
        return;
    m_threaded = true;
    m_stopping = false;
    m_worker = std::thread([this] { run(); });
    m_workerId = m_worker.get_id();
}

bool DeviceQueue::threaded() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_threaded;
}

bool DeviceQueue::onWorker() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return m_threaded && std::this_thread::get_id() == m_workerId;
}

bool DeviceQueue::updateBusy()
{
    const bool busy = m_running || !m_jobs.empty();
    if (busy == m_busy)
        return false;
    m_busy = busy;
    return true;
}

void DeviceQueue::post(Job job, int mergeKey)
{
    bool changed = false;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_threaded || std::this_thread::get_id() == m_workerId) {
            lock.unlock();
            job();
            return;
        }
        if (mergeKey != NoMerge) {
            for (Entry &e : m_jobs) {
                if (e.mergeKey == mergeKey) {
                    e.job = std::move(job);
                    return;
                }
            }
        }
        m_jobs.push_back(Entry{std::move(job), mergeKey, nullptr});
        changed = updateBusy();
    }
    m_wake.notify_one();
    if (changed && onBusyChanged)
        onBusyChanged();
}

bool DeviceQueue::call(const Job &job, int timeoutMs)
{
    auto ended = std::make_shared<bool>(false);
    auto ran = std::make_shared<bool>(false);
    bool changed = false;
    {
        std::unique_lock<std::mutex> lock(m_lock);
        if (!m_threaded || std::this_thread::get_id() == m_workerId) {
            lock.unlock();
            job();
            return true;
        }
        m_jobs.push_back(Entry{[job, ran] { job(); *ran = true; }, NoMerge, ended});
        changed = updateBusy();
    }
    m_wake.notify_one();
    if (changed && onBusyChanged)
        onBusyChanged();

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    const bool paint = onEventLoopThread();
    std::unique_lock<std::mutex> lock(m_lock);
    while (!*ended) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= deadline) {
            // Not started yet: take it back, so it cannot run unasked later.
            for (auto it = m_jobs.begin(); it != m_jobs.end(); ++it) {
                if (it->ended == ended) {
                    m_jobs.erase(it);
                    *ended = true;
                    break;
                }
            }
            // A running one ends on its own; its results are not waited for.
            return false;
        }
        if (!paint) {
            m_done.wait_until(lock, deadline);
            continue;
        }
        m_done.wait_for(lock, std::min<std::chrono::steady_clock::duration>(kPaintSlice, deadline - now));
        if (*ended)
            break;
        lock.unlock();
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        lock.lock();
    }
    return *ran;
}

bool DeviceQueue::waitIdle(int timeoutMs)
{
    std::unique_lock<std::mutex> lock(m_lock);
    return m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return !m_running && m_jobs.empty(); });
}

int DeviceQueue::pending() const
{
    std::lock_guard<std::mutex> lock(m_lock);
    return int(m_jobs.size()) + (m_running ? 1 : 0);
}

void DeviceQueue::stop()
{
    std::thread worker;
    bool changed = false;
    {
        std::lock_guard<std::mutex> lock(m_lock);
        if (!m_threaded)
            return;
        m_stopping = true;
        for (Entry &e : m_jobs)
            if (e.ended)
                *e.ended = true;
        m_jobs.clear();
        worker = std::move(m_worker);
    }
    m_wake.notify_all();
    m_done.notify_all();
    if (worker.joinable())
        worker.join();
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_threaded = false;
        m_workerId = std::thread::id();
        changed = updateBusy();
    }
    if (changed && onBusyChanged)
        onBusyChanged();
}

void DeviceQueue::run()
{
    std::unique_lock<std::mutex> lock(m_lock);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_jobs.empty(); });
        if (m_stopping)
            return;
        Entry e = std::move(m_jobs.front());
        m_jobs.pop_front();
        m_running = true;
        lock.unlock();

        e.job();
        int dropped = 0;
        if (deviceGone && deviceGone()) {
            // The rest of the batch cannot reach a mouse that is not there.
            std::lock_guard<std::mutex> relock(m_lock);
            for (Entry &rest : m_jobs)
                if (rest.ended)
                    *rest.ended = true;
            dropped = int(m_jobs.size());
            m_jobs.clear();
        }
        if (dropped > 0 && onDropped)
            onDropped(dropped);

        lock.lock();
        m_running = false;
        if (e.ended)
            *e.ended = true;
        const bool changed = updateBusy();
        m_done.notify_all();
        if (changed && onBusyChanged) {
            lock.unlock();
            onBusyChanged();
            lock.lock();
        }
    }
}
