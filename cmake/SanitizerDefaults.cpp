// Run-time defaults of the sanitizers, linked into every executable of a
// sanitizer build. Options given in ASAN_OPTIONS / LSAN_OPTIONS still win.

extern "C" {

// __tls_get_addr is not intercepted: to find the bounds of a block of dynamic
// thread-local storage, the interceptor of this toolchain reads a header that
// the C library placed in front of such blocks years ago and places no more. It
// reads it whenever a block happens to start 16 bytes past a page boundary,
// which depends on the history of the heap, so some runs record garbage bounds
// (the engine plugin's blocks, for one) and the leak check at exit dies reading
// them ("Tracer caught signal 11"). Without the interception, those blocks are
// ordinary heap blocks reached through the thread's vector of them, and are
// scanned as such.
const char* __asan_default_options() {
  return "intercept_tls_get_addr=0";
}

// Process-wide state of the Firebird client and the libraries it loads is
// never freed; the list names it (see the file).
const char* __lsan_default_options() {
  return "suppressions=" MTS_LSAN_SUPPRESSIONS ":print_suppressions=0";
}

// Reports inside the libraries built without ThreadSanitizer, which it cannot
// judge, are suppressed by the list (see the file). A report halts the test
// process with a failure.
const char* __tsan_default_options() {
  return "suppressions=" MTS_TSAN_SUPPRESSIONS ":halt_on_error=1:second_deadlock_stack=1";
}

}  // extern "C"
