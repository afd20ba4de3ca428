#pragma once

#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace usbwiz {

// Steps of a run that the run's own thread and `helpers` helper threads share: each takes the
// next step nobody has taken. The helpers start at once; the run's thread joins in (Finish) once
// its own work is done. So a helper that a busy system starts late (a new thread waits behind
// every running program) holds nothing up, and one that starts at once does the steps meanwhile.
class SharedSteps {
  public:
    using Step = std::function<void()>;

    // Starts the helpers on `steps`, in order; no step at or after `gate` starts before every
    // step before it is done. Without a thread to be had, Finish takes every step.
    SharedSteps(std::vector<Step> steps, std::size_t gate, int helpers);

    // Takes no more steps and waits for those taken, for a run that ends early (an exception):
    // no step outlives what it refers to.
    ~SharedSteps();

    SharedSteps(const SharedSteps&) = delete;
    SharedSteps& operator=(const SharedSteps&) = delete;

    // Takes the steps left, waits for those the helper took and rethrows the first exception a
    // step threw (the steps after it are not done).
    void Finish();

  private:
    void Take();
    void Stop() noexcept;

    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<Step> steps_;
    std::size_t gate_;
    std::size_t next_ = 0;  // the first step nobody has taken
    std::size_t done_ = 0;  // steps taken and done
    std::size_t end_;       // steps to take: all of them, or those taken when stopped
    std::exception_ptr thrown_;
    std::vector<std::thread> helpers_;  // last: they start once everything they read is there
};

}  // namespace usbwiz
