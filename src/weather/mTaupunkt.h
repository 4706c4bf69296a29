#pragma once

// Humidity of the air from temperature (°C) and relative humidity (%). Single-precision values,
// computed in double; a division by zero or a result beyond the float range throws RunError.

// Saturation vapour pressure over water in hPa (Magnus formula).
float SaturationVapourPressure(float T);
float KelvinTemperature(float T);
// Grams of water per cubic metre.
float AbsoluteHumidity(float T, float RH);
