#pragma once
// What the game cannot start without, looked at before anything is built: the "data"
// folder beside the executable with its nine archives, and the clip decoder library
// ("xvid_ppc.so") beside it. Both are made by ./run.sh (the data build and the decoder).
#include <string>

// "" when everything is there. Otherwise one message for the player that names each
// missing or unusable piece by its full path and says how to make them.
std::string MissingGameFiles();
