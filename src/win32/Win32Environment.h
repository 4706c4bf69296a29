#pragma once
#include "platform/Environment.h"

class Win32Environment : public Environment {
public:
    std::string Variable(std::string_view name) override;
};
