#include "taskqueue.h"

#include <chrono>

TaskQueue::TaskQueue() : thread(&TaskQueue::run, this)
{
}

TaskQueue::~TaskQueue()
{
    {
        std::lock_guard<std::mutex> lock(mutex);
        stopping = true;
    }
    changed.notify_all();
    thread.join();
}

void TaskQueue::add(std::function<void()> task)
{
    {
        std::unique_lock<std::mutex> lock(mutex);
        changed.wait(lock, [this] { return waiting.size() < kMaxWaiting; });
        waiting.push_back(std::move(task));
    }
    changed.notify_all();
}

void TaskQueue::finish(const std::function<void()> &whileWaiting)
{
    std::unique_lock<std::mutex> lock(mutex);
    while (!changed.wait_for(lock, std::chrono::milliseconds(kWaitSliceMs),
                             [this] { return waiting.empty() && !running; })) {
        lock.unlock();
        whileWaiting();
        lock.lock();
    }
}

void TaskQueue::run()
{
    std::unique_lock<std::mutex> lock(mutex);
    for (;;) {
        changed.wait(lock, [this] { return !waiting.empty() || stopping; });
        if (waiting.empty())
            return;
        std::function<void()> task = std::move(waiting.front());
        waiting.pop_front();
        running = true;
        lock.unlock();
        changed.notify_all();
        task();
        lock.lock();
        running = false;
        changed.notify_all();
    }
}
