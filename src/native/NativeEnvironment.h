#pragma once
#include "platform/Environment.h"

class NativeEnvironment : public Environment {
public:
    std::string Variable(std::string_view name) override;
};
