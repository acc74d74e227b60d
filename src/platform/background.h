#pragma once
#include <functional>
#include <memory>
#include <utility>

namespace lumivane::platform {

// Runs what may wait on a disc, the network or a device away from the
// window's thread, and brings its end back to that thread.
class Background {
public:
    virtual ~Background() = default;
    // `work` runs on the system's thread pool, then `done` on the window's
    // thread. Nothing waits for either: when the window is gone first, `done`
    // never runs, and `work` may still be running while the program ends. So
    // `work` touches only what it owns or what lives as long as the process;
    // `done` alone reaches the window's objects.
    virtual void run(std::function<void()> work, std::function<void()> done) = 0;
    // `done` runs once on the window's thread after the delay, unless the
    // window is gone by then.
    virtual void after(unsigned milliseconds, std::function<void()> done) = 0;
};

// Runs `work` in the background and hands what it returned to `answer` on the
// window's thread.
template <class Work, class Answer>
void answerLater(Background& background, Work work, Answer answer) {
    using Result = decltype(work());
    auto result = std::make_shared<Result>();
    background.run([work = std::move(work), result] { *result = work(); },
                   [answer = std::move(answer), result] { answer(std::move(*result)); });
}

} // namespace lumivane::platform
