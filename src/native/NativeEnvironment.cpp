#include "native/NativeEnvironment.h"

#include <cstdlib>

std::string NativeEnvironment::Variable(std::string_view name) {
    const char* value = std::getenv(std::string(name).c_str());
    return value ? value : "";
}
