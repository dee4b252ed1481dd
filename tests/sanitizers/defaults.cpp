// What every program of a checking build runs with, whoever starts it (ctest, a fuzz
// run, a hand): the first report ends the process with a failure, and only the leaks of
// four libraries are ignored: memory fontconfig, SDL, FluidSynth and libdbus (which SDL
// opens on a real display) keep for themselves (caches, configurations and connections
// made once per process). ThreadSanitizer does not see the barriers of the OpenMP
// runtime that FluidSynth starts its worker threads with, so what that runtime itself
// allocates and frees is not checked.
extern "C" {

const char* __asan_default_options() {
    return "detect_leaks=1:abort_on_error=1:detect_stack_use_after_return=1";
}
const char* __ubsan_default_options() { return "print_stacktrace=1:halt_on_error=1"; }
const char* __tsan_default_options() { return "halt_on_error=1:second_deadlock_stack=1"; }
const char* __tsan_default_suppressions() { return "called_from_lib:libgomp.so.1\n"; }
const char* __lsan_default_suppressions() {
    return "leak:libfontconfig.so\nleak:libSDL2-2.0.so\nleak:libfluidsynth.so\nleak:libdbus-1.so\n";
}

}
