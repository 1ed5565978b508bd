// Running a test body on a thread whose stack is far too small for recursion over thousands of
// tree levels, so that a walk that recursed with the depth of its input would crash the test.
#pragma once

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>
#include <stdexcept>
#include <string>

namespace brevant::testing {

constexpr std::size_t kSmallStack = 128 * 1024;

inline void run_on_small_stack(const std::function<void()>& job) {
    struct Context {
        const std::function<void()>* job;
        std::string failure;
    } context{&job, {}};
    auto entry = [](void* raw) -> void* {
        auto* ctx = static_cast<Context*>(raw);
        try {
            (*ctx->job)();
        } catch (const std::exception& e) {
            ctx->failure = e.what();
        }
        return nullptr;
    };
    pthread_attr_t attributes;
    pthread_attr_init(&attributes);
    pthread_attr_setstacksize(&attributes, kSmallStack);
    pthread_t thread;
    ASSERT_EQ(pthread_create(&thread, &attributes, entry, &context), 0);
    pthread_join(thread, nullptr);
    pthread_attr_destroy(&attributes);
    EXPECT_EQ(context.failure, "");
}

}  // namespace brevant::testing
