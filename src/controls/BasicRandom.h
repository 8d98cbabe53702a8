#pragma once
#include "controls/Services.h"

#include <cstdint>
#include <deque>

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

// Returns queued values first, then goes on with its own generator. Lets a
// script or a test force any draw.
class ScriptedRandom : public Random {
public:
    explicit ScriptedRandom(double clockSeconds = 0) { generator_.reseed(clockSeconds); }
    void queue(double v) { queued_.push_back(v); }
    void clearQueue() { queued_.clear(); }
    std::size_t queued() const { return queued_.size(); }
    void reseed(double clockSeconds) override { generator_.reseed(clockSeconds); }
    double next() override;

private:
    BasicRandom generator_;
    std::deque<double> queued_;
};
