// The JSON queries built once more with the byte-by-byte scanner for nested values, which
// compilers without the block scanner use, under other names so that tests can compare it
// with the block scanner of the production build.
#define WG_JSON_SIMD_LEVEL 0
#define GetJSONValue GetJSONValueBytewise
#define SplitJSONArray SplitJSONArrayBytewise
#include "service/mJSON.cpp"
