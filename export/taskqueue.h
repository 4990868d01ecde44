#ifndef TASKQUEUE_H
#define TASKQUEUE_H

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// Runs tasks one after the other, in the order they were added, on a thread
// of its own. At most kMaxWaiting tasks wait at a time: add() blocks until
// there is room, so a producer faster than the tasks cannot fill the memory.
class TaskQueue
{
public:
    static constexpr std::size_t kMaxWaiting = 4;
    static constexpr int kWaitSliceMs = 50;

    TaskQueue();
    // Runs the tasks still waiting, then ends the thread.
    ~TaskQueue();
    TaskQueue(const TaskQueue &) = delete;
    TaskQueue &operator=(const TaskQueue &) = delete;

    void add(std::function<void()> task);
    // Returns once every task added has run, calling whileWaiting on the
    // caller's thread about every kWaitSliceMs until then.
    void finish(const std::function<void()> &whileWaiting);

private:
    void run();

    std::mutex mutex;
    std::condition_variable changed;
    std::deque<std::function<void()>> waiting;
    bool running = false;
    bool stopping = false;
    std::thread thread; // last: starts once everything above is in place
};

#endif // TASKQUEUE_H
