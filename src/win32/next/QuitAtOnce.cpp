// A broken release for the update tests: the next version's resources, and a program that ends
// at once, before it has stored its version.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 1; }
