// The flight's sounds: the menu music on channel 0, the propeller loop on 2 or the jet's on
// 3, the wind on 4 and the explosion on 5. A channel whose file did not load is −1 and
// every operation skips it.
#include <algorithm>

#include "app/FSApplicationContext.h"
#include "app/FSEngine.h"
#include "game/CSPAircraft.h"
#include "game/CSPGameController.h"

namespace {

constexpr int kMenuMusicChannel = 0;
constexpr int kPropellerChannel = 2;
constexpr int kJetChannel = 3;
constexpr int kWindChannel = 4;
constexpr int kExplosionChannel = 5;

// The channel if the file loaded into it, else −1.
int LoadInto(CFSSoundChannels& sounds, const char* file, int channel) {
    return sounds.Load(file, channel) ? channel : -1;
}

}  // namespace

void CSPGameController::LoadSounds() {
    CFSEngine* engine = Engine();
    if (!engine) return;
    CFSSoundChannels& sounds = engine->Sounds();
    menuMusicChannel_ = LoadInto(sounds, "sounds\\menu_m.wav", kMenuMusicChannel);
    flightLoops_[3] = LoadInto(sounds, "sounds\\wind.wav", kWindChannel);
    explosionChannel_ = LoadInto(sounds, "sounds\\explos.wav", kExplosionChannel);
}

void CSPGameController::StartEngineLoop(bool jet) {
    CFSEngine* engine = Engine();
    if (!engine) return;
    const int loop = jet ? 2 : 1;
    flightLoops_[loop] = jet ? LoadInto(engine->Sounds(), "sounds\\whine.wav", kJetChannel)
                             : LoadInto(engine->Sounds(), "sounds\\wasp.wav", kPropellerChannel);
    // Silent until the first flying frame sets it from the throttle: the flight is still
    // being built, and a loud engine for that moment is heard as a bang.
    engine->Sounds().SetVolume(flightLoops_[loop], 0);
    engine->Sounds().PlayLooped(flightLoops_[loop]);
}

void CSPGameController::SetSoundVolume(int volume) {
    CFSEngine* engine = Engine();
    if (!engine) return;
    engine->soundVolume = volume;
    for (int channel : flightLoops_)
        engine->Sounds().SetVolume(channel, volume);
    engine->Sounds().SetVolume(explosionChannel_, volume);
}

void CSPGameController::SetMusicVolume(int volume) {
    CFSEngine* engine = Engine();
    if (!engine) return;
    engine->musicVolume = volume;
    engine->Sounds().SetVolume(menuMusicChannel_, volume);
}

void CSPGameController::PlayMenuMusic() {
    if (CFSEngine* engine = Engine()) engine->Sounds().PlayLooped(menuMusicChannel_);
}

void CSPGameController::StopMenuMusic() {
    if (CFSEngine* engine = Engine()) engine->Sounds().Stop(menuMusicChannel_);
}

void CSPGameController::StartFlightLoops(bool wind) {
    CFSEngine* engine = Engine();
    if (!engine) return;
    for (int loop = 0; loop < (wind ? 4 : 3); ++loop)
        engine->Sounds().PlayLooped(flightLoops_[loop]);
}

void CSPGameController::StopFlightLoops() {
    CFSEngine* engine = Engine();
    if (!engine) return;
    for (int channel : flightLoops_)
        engine->Sounds().Stop(channel);
}

void CSPGameController::PlayExplosion() {
    if (CFSEngine* engine = Engine()) engine->Sounds().PlayOnce(explosionChannel_);
}

void CSPGameController::FollowFlightSounds() {
    CFSEngine* engine = Engine();
    CSPAircraft* aircraft = Aircraft();
    if (!engine || !aircraft) return;
    const float volume = static_cast<float>(engine->soundVolume);
    const int engineVolume = static_cast<int>(volume * aircraft->ThrottleFraction());
    for (int loop = 0; loop < 3; ++loop)
        engine->Sounds().SetVolume(flightLoops_[loop], engineVolume);
    // The wind rises with the air speed up to 100 km/h; the flaps out catch more of it.
    const float speed = std::min(aircraft->Airspeed() / 100.0f, 1.0f);
    const float share = aircraft->IsFlaps() ? 0.4f : 0.2f;
    engine->Sounds().SetVolume(flightLoops_[3], static_cast<int>(volume * share * std::max(speed, 0.0f)));
}

void CSPGameController::SetResumable(uint8_t flag) {
    resumable_ = flag;
    if (flag) {
        StopFlightLoops();
        PlayMenuMusic();
    } else {
        StopMenuMusic();
        StartFlightLoops(true);
    }
}

void CSPGameController::ResumeSounds() {
    CFSEngine* engine = Engine();
    if (!engine) return;
    if (engine->State() != Menu && view_ != kViewMap) {
        StopMenuMusic();
        StartFlightLoops(true);
    } else {
        StopFlightLoops();
        PlayMenuMusic();
    }
}
