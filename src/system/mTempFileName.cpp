#include "system/mTempFileName.h"

#include "platform/SystemPort.h"

namespace {
constexpr std::size_t kMaxTempPath = 512;
}

std::string TempFileName(SystemPort& system, std::string_view prefix) {
    const std::string dir = system.TempPath();
    if (dir.empty() || dir.size() >= kMaxTempPath) return {};
    return system.CreateTempFile(dir, prefix).value_or(std::string());
}
