// The place search and the refresh schedule: the window already reports the user's input here.
#include "settings/frmSet.h"

void frmSet::coLoc_Click() {}
void frmSet::cSearch_Click() {}
void frmSet::tSearch_Change() {}
void frmSet::tSearch_GotFocus() {}
void frmSet::tSearch_KeyPress(int) {}
void frmSet::Timer1_Timer() {}
