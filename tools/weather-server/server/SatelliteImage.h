#pragma once

#include <string_view>

namespace ws {

// The 640 x 480 infrared-style JPEG made by satellite/make-satellite.sh, compiled in.
std::string_view satelliteJpeg();

}  // namespace ws
