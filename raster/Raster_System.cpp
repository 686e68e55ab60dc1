// Processor feature detection through CPUID and the timing services.
#include "raster/Raster_System.h"

#include "raster/Raster_Bindings.h"

#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FormatSettings.h"
#include "platform/rtl/Rounding.h"

#include <chrono>
#include <cmath>
#include <cpuid.h>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <time.h>

namespace raster {

int32_t ProcessorCountAtStart = 1;

namespace {

TCPUFeatures GDetected = 0;
TCPUFeatures GFeatures = 0;
bool GFeaturesDetected = false;

struct TCpuidResult {
    uint32_t eax = 0, ebx = 0, ecx = 0, edx = 0;
};

TCpuidResult Cpuid(uint32_t leaf) {
    TCpuidResult r;
    __cpuid(leaf, r.eax, r.ebx, r.ecx, r.edx);
    return r;
}

bool HasAvx2() {
    // The builtin also checks that the operating system saves the YMM registers.
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

// The limit from WB_RASTER_CPU; all bits when it is unset or unknown.
TCPUFeatures EnvironmentLimit() {
    const char *value = std::getenv("WB_RASTER_CPU");
    if (value == nullptr) {
        return 0xFF;
    }
    const TCPUFeatures upToSse2 = CPUFeature(ciMMX) | CPUFeature(ciEMMX) | CPUFeature(ciSSE) |
                                  CPUFeature(ciSSE2) | CPUFeature(ci3DNow) | CPUFeature(ci3DNowExt);
    if (std::strcmp(value, "portable") == 0) {
        return 0;
    }
    if (std::strcmp(value, "sse2") == 0) {
        return upToSse2;
    }
    return 0xFF;
}

} // namespace

bool HasCpuid() {
    return __get_cpuid_max(0, nullptr) != 0;
}

uint32_t ProcessorSignature() {
    return Cpuid(1).eax;
}

uint32_t ProcessorFeatureBits() {
    return Cpuid(1).edx;
}

bool HasExtendedCpuid() {
    return Cpuid(0x80000000u).eax > 0x80000000u;
}

uint32_t ExtendedFeatureBits() {
    return Cpuid(0x80000001u).edx;
}

bool SupportsInstructionSet(TCPUInstructionSet set) {
    if (!HasCpuid() || ((ProcessorSignature() >> 8) & 0xF) < 5) {
        return false;
    }
    switch (set) {
    case ciEMMX:
        if (ProcessorFeatureBits() & (1u << 25)) {
            return true;
        }
        return HasExtendedCpuid() && (ExtendedFeatureBits() & (1u << 22));
    case ci3DNow:
        return HasExtendedCpuid() && (ExtendedFeatureBits() & (1u << 31));
    case ci3DNowExt:
        return HasExtendedCpuid() && (ExtendedFeatureBits() & (1u << 30));
    case ciMMX:
        return ProcessorFeatureBits() & (1u << 23);
    case ciSSE:
        return ProcessorFeatureBits() & (1u << 25);
    case ciSSE2:
        return ProcessorFeatureBits() & (1u << 26);
    case ciAVX2:
        return HasAvx2();
    }
    return false;
}

void DetectProcessorFeatures() {
    if (GFeaturesDetected) {
        return;
    }
    GDetected = 0;
    for (int s = ciMMX; s <= ciAVX2; ++s) {
        if (SupportsInstructionSet(static_cast<TCPUInstructionSet>(s))) {
            GDetected |= CPUFeature(static_cast<TCPUInstructionSet>(s));
        }
    }
    GFeatures = GDetected & EnvironmentLimit();
    GFeaturesDetected = true;
}

TCPUFeatures GetProcessorFeatures() {
    DetectProcessorFeatures();
    return GFeatures;
}

void ForceProcessorFeaturesForTesting(TCPUFeatures features) {
    DetectProcessorFeatures();
    GFeatures = GDetected & features;
    RebindAllRegistries();
}

void RestoreProcessorFeaturesForTesting() {
    DetectProcessorFeatures();
    GFeatures = GDetected & EnvironmentLimit();
    RebindAllRegistries();
}

uint32_t TickCount() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(static_cast<uint64_t>(ms));
}

int32_t ProcessorCount() {
    const unsigned n = std::thread::hardware_concurrency();
    return n == 0 ? 1 : static_cast<int32_t>(n);
}

TPerfTimer::TPerfTimer(TPerfClock clock) {
    if (clock == pcThreadTime) {
        FCounter = [] {
            timespec t{};
            clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
            return int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
        };
        return;
    }
    FCounter = [] {
        using namespace std::chrono;
        return static_cast<int64_t>(
            duration_cast<nanoseconds>(steady_clock::now().time_since_epoch()).count());
    };
}

void TPerfTimer::SetCounterForTesting(std::function<int64_t()> counter, int64_t frequency) {
    FCounter = std::move(counter);
    FTestFrequency = frequency;
}

void TPerfTimer::Start() {
    FPerformanceCountStart = FCounter();
}

void TPerfTimer::Stop() {
    FPerformanceCountStop = FCounter();
    FFrequency = FTestFrequency;
}

int64_t TPerfTimer::ReadValue() {
    Stop();
    if (FFrequency <= 0) {
        throw rtl::Exception(std::string_view("Assertion failed (Raster_System)"));
    }
    const long double d = static_cast<long double>(FPerformanceCountStop - FPerformanceCountStart);
    return rtl::RoundSaturated<int64_t>(1000000.0L * d / FFrequency);
}

rtl::UnicodeString TPerfTimer::ReadNanoseconds() {
    return rtl::Utf8ToUtf16(std::to_string(ReadValue()));
}

namespace {
// Fixed-point with three decimals and the user's decimal separator.
rtl::UnicodeString FixedText(long double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.3Lf", value);
    rtl::UnicodeString text = rtl::Utf8ToUtf16(buffer);
    for (char16_t &c : text) {
        if (c == u'.') {
            c = rtl::FormatSettings().DecimalSeparator;
        }
    }
    return text;
}
} // namespace

rtl::UnicodeString TPerfTimer::ReadMilliseconds() {
    Stop();
    if (FFrequency <= 0) {
        throw rtl::Exception(std::string_view("Assertion failed (Raster_System)"));
    }
    return FixedText(1000.0L * (FPerformanceCountStop - FPerformanceCountStart) / FFrequency);
}

rtl::UnicodeString TPerfTimer::ReadSeconds() {
    Stop();
    return FixedText(static_cast<long double>(FPerformanceCountStop - FPerformanceCountStart) /
                     FFrequency);
}

} // namespace raster
