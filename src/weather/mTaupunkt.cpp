#include "weather/mTaupunkt.h"

#include <cmath>
#include <limits>

#include "weather/RunError.h"

namespace {

constexpr double kLog10e = 0.434294481903252;
constexpr double kWaterVapour = 2.16686912909084;  // g K / (hPa m³): 100 / the gas constant of water vapour

// A float result, as a single-precision variable takes it.
float ToSingle(double v) {
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max()) throw OverflowError();
    return static_cast<float>(v);
}

double Divide(double a, double b) {
    if (b == 0.0) throw DivisionByZeroError();
    return a / b;
}

}  // namespace

float SaturationVapourPressure(float T) {
    // The constants are single-precision values, as the formula has always been evaluated.
    const float a = T >= 0 ? 7.5f : 7.6f;
    const float b = T >= 0 ? 237.3f : 240.7f;
    const double t = T;
    return ToSingle(6.1078 * std::exp(Divide(a * t, b + t) / kLog10e));
}

float KelvinTemperature(float T) { return ToSingle(static_cast<double>(T) + 273.15); }

float AbsoluteHumidity(float T, float RH) {
    const double svp = SaturationVapourPressure(T);
    return ToSingle(Divide(svp * RH * kWaterVapour, KelvinTemperature(T)));
}
