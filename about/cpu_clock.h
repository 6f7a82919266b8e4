#pragma once

namespace tc101 {

// The processor clock in MHz, 0 on failure. Where the processor has a
// time-stamp counter it is counted over 100 ms (after a 100 ms settling
// sleep), the thread raised to real-time priority where the system allows
// it and measured anyway where it does not; elsewhere /proc/cpuinfo tells.
// Blocks the caller for about 200 ms.
double MeasureCpuMhz();

// Where MeasureCpuMhz finds the clock on this machine; with None it returns 0.
enum class CpuClockSource { TimeStampCounter, Cpuinfo, None };
CpuClockSource FindCpuClockSource();

}  // namespace tc101
