#include "system/mExeName.h"

#include "platform/SystemPort.h"

std::string ExePath(SystemPort& system) { return system.ModuleFileName(); }

std::string ExeDir(SystemPort& system) {
    const std::string path = ExePath(system);
    const auto slash = path.rfind('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string BaseName(std::string_view path) {
    const auto slash = path.find_last_of("\\/");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    if (dot != std::string_view::npos && dot > 0) name = name.substr(0, dot);
    return std::string(name);
}
