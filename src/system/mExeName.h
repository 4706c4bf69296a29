#pragma once
#include <string>
#include <string_view>

class SystemPort;

std::string ExePath(SystemPort& system);  // full path of the running program file
std::string ExeDir(SystemPort& system);   // its directory, with the trailing "\"
std::string BaseName(std::string_view path);  // file name without directory and extension
