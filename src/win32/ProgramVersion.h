#pragma once
// The program's version, for the version resource. The update tests build the same program again
// with WG_NEXT_VERSION 1 or 2, so that it reports the version after this one, or the one after that.
#if defined(WG_NEXT_VERSION) && WG_NEXT_VERSION == 2
#define WG_VERSION_NUMBERS 1,56,0,0
#define WG_VERSION_TEXT "1.56.0.0"
#elif defined(WG_NEXT_VERSION)
#define WG_VERSION_NUMBERS 1,55,0,0
#define WG_VERSION_TEXT "1.55.0.0"
#else
#define WG_VERSION_NUMBERS 1,54,0,0
#define WG_VERSION_TEXT "1.54.0.0"
#endif
