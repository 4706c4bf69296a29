#pragma once
#include "platform/Ports.h"

// Checks the display scaling; may restart the program or log the user off.
int ChkDPI(Ports& ports, bool askLogoff, bool silent);
