// Stand-ins until the refresh and tray work joins this branch; removed then.
#include "settings/frmSet.h"

void frmSet::ckBalloon_Click() {}
void frmSet::Form_MouseMove(int) {}
