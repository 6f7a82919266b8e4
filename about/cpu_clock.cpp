#include "about/cpu_clock.h"

#include <pthread.h>
#include <sched.h>

#include <chrono>
#include <fstream>
#include <optional>
#include <sstream>
#include <thread>

#include "about/system_text.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define TC101_HAS_TSC_INSTRUCTION 1
#endif

namespace tc101 {

namespace {

constexpr auto kInterval = std::chrono::milliseconds(100);

// Puts the calling thread in the real-time class for its lifetime when the
// system lets it; an ordinary user is refused, and nothing changes.
class RealTimePriority {
public:
    RealTimePriority() {
        if (pthread_getschedparam(pthread_self(), &policy_, &param_) != 0) return;
        sched_param raised{};
        raised.sched_priority = sched_get_priority_min(SCHED_FIFO);
        raised_ = pthread_setschedparam(pthread_self(), SCHED_FIFO, &raised) == 0;
    }
    ~RealTimePriority() {
        if (raised_) pthread_setschedparam(pthread_self(), policy_, &param_);
    }
    RealTimePriority(const RealTimePriority&) = delete;
    RealTimePriority& operator=(const RealTimePriority&) = delete;

private:
    int policy_ = SCHED_OTHER;
    sched_param param_{};
    bool raised_ = false;
};

#ifdef TC101_HAS_TSC_INSTRUCTION
bool HasTimeStampCounter() {
    constexpr unsigned kTscBit = 1u << 4;  // CPUID leaf 1, EDX
    unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
    return __get_cpuid(1, &eax, &ebx, &ecx, &edx) != 0 && (edx & kTscBit) != 0;
}

double CountTimeStamps() {
    RealTimePriority priority;
    std::this_thread::sleep_for(kInterval);
    const auto start = std::chrono::steady_clock::now();
    const unsigned long long first = __rdtsc();
    std::this_thread::sleep_for(kInterval);
    const unsigned long long last = __rdtsc();
    const auto elapsed = std::chrono::steady_clock::now() - start;
    // The counter over the interval actually slept, not the one asked for.
    return MhzFromCounts(last - first, elapsed);
}
#endif

std::optional<double> CpuinfoClock() {
    std::ifstream file("/proc/cpuinfo");
    if (!file) return std::nullopt;
    std::ostringstream content;
    content << file.rdbuf();
    return CpuinfoMhz(content.str());
}

}  // namespace

double MeasureCpuMhz() {
    try {
#ifdef TC101_HAS_TSC_INSTRUCTION
        if (HasTimeStampCounter()) return CountTimeStamps();
#endif
        return CpuinfoClock().value_or(0);
    } catch (...) {
        return 0;
    }
}

CpuClockSource FindCpuClockSource() {
#ifdef TC101_HAS_TSC_INSTRUCTION
    if (HasTimeStampCounter()) return CpuClockSource::TimeStampCounter;
#endif
    return CpuinfoClock() ? CpuClockSource::Cpuinfo : CpuClockSource::None;
}

}  // namespace tc101
