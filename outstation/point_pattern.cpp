#include "outstation/point_pattern.h"

namespace tc101 {

namespace {

// Streams keep the sequences apart for the same seed.
enum class Stream : std::uint64_t { Telesignal = 1, Measured, ChangePoint, ChangeValue, EventPoint };

// splitmix64 finaliser over the three inputs: cheap, well mixed, portable.
std::uint64_t Mix(std::uint32_t seed, Stream stream, std::int64_t index) {
    std::uint64_t z = (static_cast<std::uint64_t>(seed) << 32) ^ (static_cast<std::uint64_t>(stream) << 56) ^
                      static_cast<std::uint64_t>(index);
    z += 0x9E3779B97F4A7C15ull;
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
}

std::int16_t ValueFrom(std::uint64_t word) {
    constexpr std::uint64_t kSpan = 2 * kPatternValueLimit + 1;
    return static_cast<std::int16_t>(static_cast<std::int64_t>(word % kSpan) - kPatternValueLimit);
}

int PointFrom(std::uint64_t word, int count) {
    return count < 1 ? 0 : static_cast<int>(word % static_cast<std::uint64_t>(count)) + 1;
}

}  // namespace

bool InitialTelesignal(std::uint32_t seed, int point) {
    return (Mix(seed, Stream::Telesignal, point) & 1u) != 0;
}

std::int16_t InitialMeasuredValue(std::uint32_t seed, int point) {
    return ValueFrom(Mix(seed, Stream::Measured, point));
}

int ChangedMeasuredPoint(std::uint32_t seed, std::int64_t change, int count) {
    return PointFrom(Mix(seed, Stream::ChangePoint, change), count);
}

std::int16_t ChangedMeasuredValue(std::uint32_t seed, std::int64_t change) {
    return ValueFrom(Mix(seed, Stream::ChangeValue, change));
}

int EventPoint(std::uint32_t seed, std::int64_t event, int count) {
    return PointFrom(Mix(seed, Stream::EventPoint, event), count);
}

}  // namespace tc101
