#include "exact/offload.hpp"

#include <condition_variable>
#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

#include "exact/interrupt.hpp"

namespace brevant {
namespace {

// Shared by the caller and the helper; whichever leaves last frees it.
struct Job {
    std::function<void()> work;
    std::mutex mutex;
    std::condition_variable finished;
    bool done = false;
    std::exception_ptr failure;

    void run() {
        try {
            work();
        } catch (...) {
            failure = std::current_exception();
        }
        const std::lock_guard lock(mutex);
        done = true;
        finished.notify_one();
    }
};

bool start_helper(const std::shared_ptr<Job>& job) {
    try {
        std::thread([job] { job->run(); }).detach();
        return true;
    } catch (const std::system_error&) {
        return false;  // no thread to be had (an address-space limit): run on this one
    }
}

}  // namespace

void poll_before(std::size_t limbs) {
    if (limbs >= kPollLimbs) poll_interrupt();
}

void run_offloaded(std::function<void()> work) {
    poll_interrupt();
    if (!interrupt_hook_installed()) return work();
    auto job = std::make_shared<Job>();
    job->work = std::move(work);
    if (!start_helper(job)) return job->work();
    std::unique_lock lock(job->mutex);
    while (!job->finished.wait_for(lock, kCheckInterval, [&] { return job->done; })) {
        lock.unlock();
        poll_interrupt();  // may leave by exception; the helper keeps the job alive
        lock.lock();
    }
    if (job->failure) std::rethrow_exception(job->failure);
}

}  // namespace brevant
