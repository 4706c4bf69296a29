#pragma once

class frmMain;

// Gives the widget's picture sheets (weather, wind, moon) their images, which are built into the
// console program, so that the refresh can cut its pictures from them as the widget does.
void LoadSheetPictures(frmMain& main);
