#pragma once
#include <memory>

namespace lumivane::platform {

// One piece of work for the background, and what comes of it.
class Job {
public:
    virtual ~Job() = default;
    // On the system's thread pool. Nothing waits for it: it may still run
    // while the program ends, so it touches only what the job owns or what
    // lives as long as the process.
    virtual void work() {}
    // Afterwards on the window's thread; never when the window is gone first.
    // The only part that reaches the window's objects.
    virtual void done() = 0;
};

// Runs what may wait on a disc, the network or a device away from the
// window's thread, and brings its end back to that thread.
class Background {
public:
    virtual ~Background() = default;
    virtual void run(std::unique_ptr<Job> job) = 0;
    // Only the job's done, once, after the delay.
    virtual void after(unsigned milliseconds, std::unique_ptr<Job> job) = 0;
};

} // namespace lumivane::platform
