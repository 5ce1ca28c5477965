#include "platform/clock.h"

namespace vantor {

int32_t UtcToLocalSeconds(time_t utc) {
    std::tm local {};
    localtime_r(&utc, &local);
    return static_cast<int32_t>(timegm(&local));
}

time_t LocalSecondsToUtc(int32_t localSeconds) {
    time_t t = localSeconds;
    std::tm broken {};
    gmtime_r(&t, &broken);
    broken.tm_isdst = -1;
    return mktime(&broken);
}

int32_t NowLocalSeconds() { return UtcToLocalSeconds(time(nullptr)); }

std::tm NowLocalTm() {
    time_t now = time(nullptr);
    std::tm local {};
    localtime_r(&now, &local);
    return local;
}

}  // namespace vantor
