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
};

class InlineTaskRunner : public TaskRunner {
public:
    void Run(std::function<void()> work, std::function<void()> done) override {
        work();
        done();
    }
};
