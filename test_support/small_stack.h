// Running test code on a thread with a small stack, so that recursion as
// deep as a long line or a deeply nested tree would overflow it instead of
// passing unnoticed on the main thread's large stack.
#pragma once

#include <gtest/gtest.h>
#include <pthread.h>

#include <functional>

namespace kestrel::testing {

inline void OnSmallStack(std::function<void()> work) {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, 256 * 1024);
  pthread_t thread;
  auto run = [](void* p) -> void* {
    (*static_cast<std::function<void()>*>(p))();
    return nullptr;
  };
  ASSERT_EQ(pthread_create(&thread, &attr, run, &work), 0);
  pthread_join(thread, nullptr);
  pthread_attr_destroy(&attr);
}

}  // namespace kestrel::testing
