# Flag defaults of the mingw-w64 build, read after CMake's own (CMAKE_USER_MAKE_RULES_OVERRIDE), which
# would otherwise append -O3 to whatever the toolchain file sets.
# The program spends its time waiting for timers and replies: a release is built for size.
set(CMAKE_CXX_FLAGS_RELEASE_INIT "-Os -DNDEBUG")
