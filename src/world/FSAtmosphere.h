#pragma once
// The standard atmosphere as the game uses it: air density by altitude, shared by the
// flight model (lift, drag, thrust) and the camera (haze of the sky colour).

// Air density in kg/m³ at an altitude in metres: linear interpolation in a table from 0 to
// 40 000 m in steps of 2000 m (1.224999 at sea level). Below 0 m the sea-level value;
// from 40 000 m up (40 000 exactly included) and for NaN, 0.
float AirDensity(float altitudeMetres);

// The sea-level density of the table, 1.224999 kg/m³.
inline constexpr float kSeaLevelAirDensity = 1.224999f;
