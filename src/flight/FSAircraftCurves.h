#pragma once
// The aerodynamic tables shared by every plate of every aircraft, and the air density as
// the force model uses it.

// Lift coefficient of a flat plate at an angle of attack (rad, any sign): linear
// interpolation in a table over 0..180 degrees, odd in the angle. It peaks at 15 degrees
// (1.0314) and drops to 0.5802 at 17 degrees: the stall. From π on (and for NaN) 0.
float LiftCoefficient(float angleOfAttack);

// Drag coefficient: the table's value (even in the angle) plus 0.025, the plate's drag at
// zero angle. From π on (and for NaN) 0.025.
float DragCoefficient(float angleOfAttack);

// Air density in kg/km³ (the model's unit: kg/m³ × 999999808) at an altitude in km; the
// standard atmosphere of FSAtmosphere.h, so the sea-level value below 0 and 0 from 40 km up.
float ModelAirDensity(float altitudeKm);
