#pragma once

namespace fennick {

// The answer of the operating-system version query: an error code (0 = none)
// and a version number whose hexadecimal digits are the version's parts.
struct VersionAnswer {
    int error = 0;
    unsigned value = 0;
};

inline constexpr unsigned kMinimumVersion = 0x1040;

// On this platform the query compares the running Qt library with the one the
// program was built against: the same or newer answers kMinimumVersion, an
// older one answers a number below it, and an unreadable version an error.
VersionAnswer queryVersion(const char* runningQt, int builtMajor, int builtMinor);
VersionAnswer queryVersion();

inline bool versionAllowed(const VersionAnswer& answer) {
    return answer.error == 0 && answer.value >= kMinimumVersion;
}

} // namespace fennick
