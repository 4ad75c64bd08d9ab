#pragma once

// Qt's own synchronisation (its mutexes are futexes, its threads end through its own wait
// conditions) is invisible to ThreadSanitizer. Under the sanitizer these annotations state the
// orderings that Qt provides, so that real races stay visible; elsewhere they are empty.
#if defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define ZUV_THREAD_SANITIZER 1
#endif
#endif

#ifdef ZUV_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#define ZUV_HAPPENS_BEFORE(address) __tsan_release(const_cast<void*>(static_cast<const void*>(address)))
#define ZUV_HAPPENS_AFTER(address) __tsan_acquire(const_cast<void*>(static_cast<const void*>(address)))
#else
#define ZUV_HAPPENS_BEFORE(address) static_cast<void>(address)
#define ZUV_HAPPENS_AFTER(address) static_cast<void>(address)
#endif
