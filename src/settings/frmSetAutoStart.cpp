// Autostart with Windows: the box shows the stored choice until the Run entry is managed here.
#include "platform/SettingsKeys.h"
#include "settings/frmSet.h"
#include "system/Numbers.h"

void frmSet::AutoStartCheck() { ckAutoStart.Value = Val(Get(key::RunAtStartup, "0")) != 0 ? 1 : 0; }

void frmSet::AutoStartClick() {}
