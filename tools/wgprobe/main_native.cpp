// wgprobe on Linux: the socket transport and the in-memory registry (fresh for every run).
#include <cstdio>

#include "ProbeCommands.h"
#include "native/MemoryRegistry.h"
#include "native/NativeEnvironment.h"
#include "native/SocketHttpTransport.h"

int main(int argc, char** argv) {
    MemoryRegistry registry;
    SocketHttpTransport transport;
    NativeEnvironment environment;
    ProbePorts ports{registry, transport, environment};
    std::string out;
    const int code = RunProbe(std::vector<std::string>(argv + 1, argv + argc), ports, out);
    std::fwrite(out.data(), 1, out.size(), code == 0 ? stdout : stderr);
    return code;
}
