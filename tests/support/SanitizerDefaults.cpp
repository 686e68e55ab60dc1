// The sanitizers' settings, built into every executable of the sanitizer build (WB_SANITIZE),
// so that tests, fuzz targets and the programs behave alike however they are started. Options
// given in ASAN_OPTIONS, LSAN_OPTIONS or UBSAN_OPTIONS still take precedence.
//
// Leak suppressions name only the two places that hand fontconfig allocations it keeps for the
// life of the process, matched by their frames (full stacks: fast unwinding on malloc stops
// inside fontconfig and would leave only the library's name); any other fontconfig object our
// code leaks is reported. Fuzz targets unwind fast for speed and so name the library itself.
// Each entry says what it is and where it shows.
extern "C" {

const char *__asan_default_options() {
#if defined(WB_FUZZ_TARGET)
    // Fuzz targets decode and free large pictures on every input: a small quarantine keeps the
    // memory the sanitizer holds back under the fuzzer's memory limit. They unwind fast on
    // malloc: full stacks made every input several times slower.
    return "detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1:"
           "fast_unwind_on_malloc=1:quarantine_size_mb=32:allocator_release_to_os_interval_ms=200";
#else
    return "detect_leaks=1:strict_init_order=1:detect_stack_use_after_return=1:"
           "fast_unwind_on_malloc=0";
#endif
}

const char *__ubsan_default_options() {
    return "print_stacktrace=1:halt_on_error=1";
}

const char *__lsan_default_suppressions() {
    // fontconfig's configuration and font set, built once when the application's fonts are
    // registered and when Qt first asks fontconfig for a fallback font, and deliberately never
    // freed: seen in every test that draws text.
    return "leak:gfx::EnsureApplicationFonts\n"
           "leak:QFontEngineMultiFontConfig::getMatchPatternForFallback\n"
#if defined(WB_FUZZ_TARGET)
           // With fast unwinding the same allocations' stacks end inside the library.
           "leak:libfontconfig.so\n"
#endif
        ;
}

} // extern "C"
