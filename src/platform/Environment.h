#pragma once
#include <string>
#include <string_view>

// The process environment.
class Environment {
public:
    virtual ~Environment() = default;
    // The variable's value; empty when it is not set.
    virtual std::string Variable(std::string_view name) = 0;
};
