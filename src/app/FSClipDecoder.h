#pragma once
// The aircraft clips' decoder library ("xvid_ppc.dll" beside the executable, a shared object
// here): loaded once for the process and never unloaded, its three entry points looked up
// by name into the context's table.
#include <string>

#include "decoder/FSDecoderApi.h"

// Fills table (InitCodec, CloseCodec, DecodeFrame) and returns true when the library and
// all three entry points are there. Otherwise the table is left empty, and the reason
// ("dll loading", "InitCodec loading", ...) is said once on stderr: the aircraft choice then
// shows still pictures.
bool LoadClipDecoder(FSDecoderTable& table);

// Why the library could not be used ("" when it could). Loads it (once) when that has
// not happened yet, and says nothing.
const std::string& ClipDecoderProblem();

// Where the library is looked for: "xvid_ppc.so" beside the executable.
std::string ClipDecoderPath();
