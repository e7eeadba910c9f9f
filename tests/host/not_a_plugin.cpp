// A loadable library that lacks the plug-in entry point, for the loader's refusal test.
extern "C" __attribute__((visibility("default"))) int NotAnEntryPoint() { return 42; }
