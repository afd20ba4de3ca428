#include "generate/SharedSteps.h"

#include <system_error>

namespace usbwiz {

SharedSteps::SharedSteps(std::vector<Step> steps, std::size_t gate, int helpers)
    : steps_(std::move(steps)), gate_(gate), end_(steps_.size()) {
    try {
        for (int i = 0; i < helpers; ++i) helpers_.emplace_back([this] { Take(); });
    } catch (const std::system_error&) {
    }
}

SharedSteps::~SharedSteps() {
    Stop();
}

void SharedSteps::Take() {
    std::unique_lock lock(mutex_);
    for (;;) {
        changed_.wait(lock, [&] { return next_ >= end_ || next_ < gate_ || done_ >= gate_; });
        if (next_ >= end_) return;
        const std::size_t step = next_++;
        lock.unlock();
        std::exception_ptr thrown;
        try {
            steps_[step]();
        } catch (...) {
            thrown = std::current_exception();
        }
        lock.lock();
        ++done_;
        if (thrown && !thrown_) {
            thrown_ = thrown;
            end_ = next_;  // what follows a failed step is not done
        }
        changed_.notify_all();
    }
}

// The helper is joined only once every step is taken and done: by then it has nothing left to
// wait for but its own start.
void SharedSteps::Stop() noexcept {
    {
        std::unique_lock lock(mutex_);
        end_ = next_;
        changed_.notify_all();
        changed_.wait(lock, [&] { return done_ == next_; });
    }
    for (std::thread& helper : helpers_)
        if (helper.joinable()) helper.join();
}

void SharedSteps::Finish() {
    Take();
    Stop();
    if (thrown_) std::rethrow_exception(thrown_);
}

}  // namespace usbwiz
