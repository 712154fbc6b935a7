#pragma once

#include <cstddef>
#include <cstdint>
#include <array>
#include <span>

namespace scrinst::starfield {

// A star in view space: x and y across the view, z its distance. A star is
// seen at (x / z, y / z), so the view's edges lie at +-1 on the longer side.
struct Star {
    float x;
    float y;
    float z;
};

// Stars flying towards the viewer. Portable and deterministic for a given
// seed, so the window only projects and draws.
class StarField {
public:
    static constexpr float kNear = 0.04f;
    static constexpr float kFar = 1.0f;
    // Stars live in a fixed array: a container that can throw would drag the
    // C++ exception machinery into a program that otherwise needs none.
    static constexpr std::size_t kMaxStars = 1500;

    // Makes min(count, kMaxStars) stars.
    StarField(std::size_t count, std::uint32_t seed);

    // Moves every star `step` closer; one that passed the viewer or left the
    // view is born again far away.
    void advance(float step);

    std::span<const Star> stars() const noexcept { return std::span<const Star>(stars_).first(count_); }

private:
    Star spawn(float z);
    float unit();  // uniform in [0, 1)

    std::array<Star, kMaxStars> stars_{};
    std::size_t count_;
    std::uint32_t state_;
};

}  // namespace scrinst::starfield
