#pragma once
#include "controls/Services.h"

#include <cstdint>

// A 24-bit linear congruential generator. Reseeding mixes the clock into the
// middle of the state and keeps the rest, so two reseeds within one clock tick
// still give different draws.
class BasicRandom : public Random {
public:
    explicit BasicRandom(uint32_t seed = 0x50000) : state_(seed & 0xFFFFFF) {}
    void reseed(double clockSeconds) override;
    double next() override;
    uint32_t state() const { return state_; }

private:
    uint32_t state_;
};
