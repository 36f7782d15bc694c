#pragma once

#include "platform/caldate.h"

namespace fennick {

// Where "now" comes from. Logic never reads the system time directly, so tests
// can fix the time, cross month ends and daylight-saving changes.
class Clock {
public:
    virtual ~Clock() = default;
    virtual CalDate now() const = 0;
};

class SystemClock final : public Clock {
public:
    CalDate now() const override;
};

// A clock that stays where it is set; for tests, benchmarks and the terminal.
class FixedClock final : public Clock {
public:
    explicit FixedClock(CalDate at) : at_(at) {}
    CalDate now() const override { return at_; }
    void set(CalDate at) { at_ = at; }
    void advance(std::int64_t seconds) { at_ = CalDate::fromInstant(at_.instant() + seconds); }

private:
    CalDate at_;
};

} // namespace fennick
