#pragma once
// The seed of a randomized run: MARTOOL_SEED when it is set (to repeat a run that failed), else a
// fresh one. Tests name it in every failure.

#include <cstdint>
#include <cstdlib>
#include <random>
#include <string>

inline std::uint64_t RunSeed() {
    if (const char* given = std::getenv("MARTOOL_SEED"))
        return std::strtoull(given, nullptr, 10);
    std::random_device device;
    return (static_cast<std::uint64_t>(device()) << 32) | device();
}

inline std::string SeedNote(std::uint64_t seed) {
    return "seed " + std::to_string(seed) + " (MARTOOL_SEED=" + std::to_string(seed) + " repeats this run)";
}
