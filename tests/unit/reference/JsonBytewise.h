#pragma once

// GetJSONValue and SplitJSONArray built with the byte-by-byte scanner (unit/JsonBytewiseScanner.cpp).

#include <string>
#include <string_view>
#include <vector>

std::string GetJSONValueBytewise(std::string_view json, std::string_view path);
std::vector<std::string> SplitJSONArrayBytewise(std::string_view json);
