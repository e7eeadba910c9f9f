// ThreadSanitizer settings for the test programs that load a frame server. Its libraries are not
// instrumented: ThreadSanitizer sees their locks (the interceptors catch those) but not their
// atomic reference counts, so a frame buffer freed or recycled inside the frame server after
// another thread read it looked like a race at every free, copy and cache eviction the frame
// server makes. This ignores the memory accesses of calls made from code that is not
// instrumented, and keeps their synchronisation; every access the plug-ins and the tests make
// themselves is still checked (a shared counter written in a plug-in's frame call is reported).
#if defined(__SANITIZE_THREAD__)
#define VELMIRE_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define VELMIRE_THREAD_SANITIZER 1
#endif
#endif

#ifdef VELMIRE_THREAD_SANITIZER
// Visible, so that the sanitizer runtime finds it in a program built with hidden visibility.
extern "C" __attribute__((visibility("default"))) const char* __tsan_default_options() {
  return "ignore_noninstrumented_modules=1";
}
#endif
