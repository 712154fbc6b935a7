#include "star_field.h"

#include <algorithm>
#include <cmath>

namespace scrinst::starfield {

namespace {

// Beyond this the star is outside even the wider side of any view.
constexpr float kVisibleLimit = 1.2f;

}  // namespace

StarField::StarField(std::size_t count, std::uint32_t seed)
    : count_(std::min(count, kMaxStars)), state_(seed == 0 ? 0x9E3779B9u : seed)
{
    for (std::size_t i = 0; i < count_; ++i) {
        // Spread over the whole depth at the start so the first frame is
        // already full rather than a cloud waiting at the horizon.
        stars_[i] = spawn(kNear + unit() * (kFar - kNear));
    }
}

void StarField::advance(float step)
{
    for (Star& star : std::span<Star>(stars_).first(count_)) {
        star.z -= step;
        if (star.z <= kNear || std::fabs(star.x / star.z) > kVisibleLimit ||
            std::fabs(star.y / star.z) > kVisibleLimit) {
            star = spawn(kFar);
        }
    }
}

Star StarField::spawn(float z)
{
    const float x = unit() * 2.0f - 1.0f;
    const float y = unit() * 2.0f - 1.0f;
    return Star{x * z, y * z, z};
}

float StarField::unit()
{
    // xorshift32: tiny, and plenty random for where stars appear.
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return static_cast<float>(state_ >> 8) / 16777216.0f;
}

}  // namespace scrinst::starfield
