#pragma once

#include <future>
#include <system_error>

namespace zel {

// Starts `task` on a thread of its own, so that it runs beside the caller on a second core;
// when no thread can be had, the task runs in the caller when its result is asked for. Either
// way the future's get() gives back what the task threw. A future from here waits for its
// task when destroyed, so no task outlives the scope that started it.
template <typename Task> std::future<void> runBeside(const Task& task) {
    try {
        return std::async(std::launch::async, task);
    } catch (const std::system_error&) {
        return std::async(std::launch::deferred, task);
    }
}

} // namespace zel
