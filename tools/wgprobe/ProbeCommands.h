#pragma once
// The probe's commands: the core's HttpRequest and registry functions on whatever platform
// implementations the caller hands in, with results printed as plain ASCII lines so that a run
// under Wine and a native run can be compared line by line.
#include <string>
#include <vector>

#include "platform/Environment.h"
#include "platform/HttpTransport.h"
#include "platform/RegistryPort.h"

struct ProbePorts {
    RegistryPort& registry;
    HttpTransport& transport;
    Environment& environment;
};

// Arguments are Windows-1252 texts without the program name. Returns the exit code; the lines to
// print go to `out`.
int RunProbe(const std::vector<std::string>& args, ProbePorts& ports, std::string& out);
