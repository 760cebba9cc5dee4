#pragma once
// The game's sounds, synthesised: 22050 Hz mono, the same samples on every build.
#include "soundbuild/SoundSynth.h"

namespace soundbuild {

Samples MakeWind();             // "wind.wav": filtered noise with slow gusts, 8 s loop
Samples MakeExplosion();        // "explos.wav": thump and blast with a long decay, played once
Samples MakePropellerEngine();  // "wasp.wav": piston firing pulses and propeller buzz, 4 s loop
Samples MakeJetEngine();        // "whine.wav": turbine whine over the roar, 4 s loop
Samples MakeMenuTune();         // "menu_m.wav": eight bars of melody, bass and drums, 16 s loop

}  // namespace soundbuild
