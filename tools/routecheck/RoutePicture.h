#pragma once
// A picture of a checked route (PNG): the map round its gates and its height profile.
#include <string>

#include "routecheck/RouteCheck.h"

// False when the route has no gates or the file cannot be written.
bool WriteRoutePicture(const RouteCheck& check, const CFSTerrainStorage& terrain, const std::string& path);
