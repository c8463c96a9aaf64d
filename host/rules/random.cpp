#include "random.h"

#include <chrono>

namespace morlu {

std::uint32_t Random::seedFromTimeOfDay()
{
    using namespace std::chrono;
    const auto now = system_clock::now().time_since_epoch();
    const auto msOfDay = duration_cast<milliseconds>(now).count() % (24LL * 60 * 60 * 1000);
    // ((hour * 60 + minute) * 60 + second) * 1000 + milliseconds is exactly the milliseconds of the day.
    return static_cast<std::uint32_t>(msOfDay);
}

} // namespace morlu
