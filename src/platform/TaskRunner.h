#pragma once
#include <functional>

// Runs work that waits (the network) away from the window thread and hands the result back on
// the window thread. The console and the tests run it inline.
class TaskRunner {
public:
    virtual ~TaskRunner() = default;
    // `work` runs on a worker; `done` runs afterwards on the window thread, unless the program
    // ends first, in which case it is dropped.
    virtual void Run(std::function<void()> work, std::function<void()> done) = 0;
    // Runs `call` on the window thread and returns when it has run: how work asks the user a
    // question. Where work runs on the window thread anyway (the console, the tests) it runs at
    // once. Once the program ends it may not run at all.
    virtual void RunOnWindowThread(const std::function<void()>& call) { call(); }
};

class InlineTaskRunner : public TaskRunner {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
};
