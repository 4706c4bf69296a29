#pragma once
// The program's version, for the version resource. The update tests build the same program a
// second time with WG_NEXT_VERSION, so that it reports the version after this one.
#ifdef WG_NEXT_VERSION
#define WG_VERSION_NUMBERS 1,55,0,0
#define WG_VERSION_TEXT "1.55.0.0"
#else
#define WG_VERSION_NUMBERS 1,54,0,0
#define WG_VERSION_TEXT "1.54.0.0"
#endif
