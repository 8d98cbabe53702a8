#include "controls/BasicRandom.h"

#include <cstring>

void BasicRandom::reseed(double clockSeconds)
{
    // Fold the bits of the clock value into 16 bits and put them into the
    // middle of the state; the lowest byte of the running state survives.
    const float f = float(clockSeconds);
    uint32_t bits = 0;
    std::memcpy(&bits, &f, sizeof bits);
    const uint32_t folded = ((bits >> 16) ^ bits) & 0xFFFF;
    state_ = ((folded << 8) ^ (state_ & 0xFFFF00)) | (state_ & 0xFF);
    state_ &= 0xFFFFFF;
}

double BasicRandom::next()
{
    state_ = (state_ * 1140671485u + 12820163u) & 0xFFFFFF;
    return double(state_) / double(0x1000000);
}
