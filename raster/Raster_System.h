// Processor feature detection, the forced feature set for tests, and the small timing services.
#pragma once

#include "platform/rtl/System.h"

#include <cstdint>
#include <functional>

namespace raster {

enum TCPUInstructionSet : uint8_t {
    ciMMX = 0,
    ciEMMX = 1,
    ciSSE = 2,
    ciSSE2 = 3,
    ci3DNow = 4,
    ci3DNowExt = 5,
    ciAVX2 = 6, // our addition: 256-bit integer vectors (needs OS support for the YMM state)
};

// Set of TCPUInstructionSet: bit n for value n.
using TCPUFeatures = uint8_t;
constexpr TCPUFeatures CPUFeature(TCPUInstructionSet s) {
    return static_cast<TCPUFeatures>(1u << s);
}
constexpr TCPUFeatures NoCPUFeatures = 0;

bool HasCpuid();
uint32_t ProcessorSignature();
uint32_t ProcessorFeatureBits();
bool HasExtendedCpuid();
uint32_t ExtendedFeatureBits();
bool SupportsInstructionSet(TCPUInstructionSet set);

// Fills the global feature set once. The environment variable WB_RASTER_CPU limits what is
// reported: "portable" (no vector code), "sse2" or "avx2"; anything else is ignored.
void DetectProcessorFeatures();
TCPUFeatures GetProcessorFeatures();

// Test hook: reports at most `features` (intersected with what the processor has) and rebinds
// every registry, so the same test can run each variant. Not safe while drawing on other threads.
void ForceProcessorFeaturesForTesting(TCPUFeatures features);
// Back to the detected set (with the environment limit) and rebinds every registry.
void RestoreProcessorFeaturesForTesting();

// Milliseconds since an arbitrary start, wrapping at 2^32.
uint32_t TickCount();
int32_t ProcessorCount();
extern int32_t ProcessorCountAtStart;

// What a TPerfTimer counts: time as it passes (the performance counter), or the time the
// calling thread itself runs, which time spent in other threads and processes leaves alone.
enum TPerfClock : uint8_t { pcElapsed, pcThreadTime };

// Interval timer on a monotonic counter (nanoseconds).
class TPerfTimer {
public:
    explicit TPerfTimer(TPerfClock clock = pcElapsed);
    void Start();
    // Microseconds (the historical name says nanoseconds) as decimal text.
    rtl::UnicodeString ReadNanoseconds();
    rtl::UnicodeString ReadMilliseconds();
    rtl::UnicodeString ReadSeconds();
    int64_t ReadValue();

    // Replaces the counter and its frequency (ticks per second).
    void SetCounterForTesting(std::function<int64_t()> counter, int64_t frequency);

private:
    void Stop();
    std::function<int64_t()> FCounter;
    int64_t FFrequency = 0;
    int64_t FTestFrequency = 1000000000;
    int64_t FPerformanceCountStart = 0;
    int64_t FPerformanceCountStop = 0;
};

} // namespace raster
