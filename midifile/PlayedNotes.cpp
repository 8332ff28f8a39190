#include "midifile/PlayedNotes.h"

#include <algorithm>

void PlayedNotes::add(int key, int velocity) {
    if (key >= 0 && key < keys && velocity >= 0 && velocity < velocities)
        atKey_[key].set(velocity);
}

void PlayedNotes::add(const PlayedNotes& other) {
    for (int key = 0; key < keys; ++key)
        atKey_[key] |= other.atKey_[key];
}

void PlayedNotes::addAll() {
    for (std::bitset<velocities>& played : atKey_)
        played.set();
}

PlayedNotes PlayedNotes::within(int lowKey, int highKey, int lowVelocity, int highVelocity) const {
    PlayedNotes inside;
    lowVelocity = std::max(lowVelocity, 0);
    highVelocity = std::min(highVelocity, velocities - 1);
    if (lowVelocity > highVelocity)
        return inside;
    // The velocities from lowVelocity to highVelocity.
    const std::bitset<velocities> range =
        (~std::bitset<velocities>() >> (velocities - 1 - highVelocity + lowVelocity))
        << lowVelocity;
    for (int key = std::max(lowKey, 0); key <= std::min(highKey, keys - 1); ++key)
        inside.atKey_[key] = atKey_[key] & range;
    return inside;
}

bool PlayedNotes::any() const {
    return std::any_of(atKey_.begin(), atKey_.end(),
                       [](const std::bitset<velocities>& played) { return played.any(); });
}
