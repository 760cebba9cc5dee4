#include "game/TSPOscillator.h"

#include "world/FSRandom.h"
#include "world/FSSineTable.h"

namespace {
constexpr float kTwoPi = 6.2831853f;
}

TSPOscillator::TSPOscillator(MFSSceneNode& node, const FSVector& wind, float period, const SineTable& sine,
                             CFSRandom& random, uint32_t seed)
    : MFSMoveableObject(node, wind, 0.0f, sine), direction_(wind) {
    period_ = KeepAboveNearZero(period) * kTwoPi;
    phase_ = static_cast<float>(random.Next()) / static_cast<float>(CFSRandom::kMax) * kTwoPi;
    if (period_ == 0.0f) velocity = direction_ * Cosine();
    random.Seed(seed);
}

TSPOscillator::~TSPOscillator() = default;

float TSPOscillator::Cosine() const {
    const float k =
        (period_ != 0.0f ? time_ / period_ * SineTable::kSize : 0.0f) + phase_ * SineTable::kIndexPerRadian;
    const int i = static_cast<int>(k);
    const float f = k - static_cast<float>(i);
    const int j = (i + SineTable::kSize / 4) % SineTable::kSize;
    return Sine().Value(j) + f * Sine().Slope(j);
}

void TSPOscillator::ComputeForces() {
    if (period_ == 0.0f) return;
    velocity = direction_ * Cosine();
    time_ += subStep;
    if (time_ >= period_) time_ -= period_;
}
