#pragma once

#include <cstdint>

// The mascot's frame order: 0, 1, 2, 3, then 0 again. Only the wrap is
// tested, since nothing but the tick and the resets to 0 changes the index.
namespace FrameCounter {

constexpr int16_t frameCount = 4;

constexpr int16_t next(int16_t frame) {
    return frame == frameCount - 1 ? int16_t{0} : static_cast<int16_t>(frame + 1);
}

} // namespace FrameCounter
