#pragma once
// Dates are whole seconds since 1970-01-01 00:00:00 of the local wall clock,
// held in 32 bits: the local broken-down time read back as if it were UTC.
#include <cstdint>
#include <ctime>

namespace vantor {

int32_t NowLocalSeconds();
int32_t UtcToLocalSeconds(time_t utc);
time_t LocalSecondsToUtc(int32_t localSeconds);
// Broken-down local time of now (for the date tokens of file names).
std::tm NowLocalTm();

}  // namespace vantor
