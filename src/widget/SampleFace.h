#pragma once
#include <memory>
#include <string_view>

class frmMain;
class SettingsStore;
struct Bitmap;

// Hidden store key: "1" makes the program show a typical face at start without asking the
// weather service, for screenshots and for trying the look. Not shown in the settings dialog.
inline constexpr const char* kSampleFaceKey = "Demo.SampleFace";

// True when the store asks for the sample face.
bool SampleFaceRequested(SettingsStore& store, std::string_view app, std::string_view section);

// Fills every label, tooltip and picture of the face with the values a refresh for a German
// place on an autumn day would write (metric units, comma as decimal separator). The pictures
// come from the sheets the face holds; a sheet without an image leaves its pictures clear.
void FillSampleFace(frmMain& form);

// The full-size satellite picture (640 x 480) that the sample thumbnail shows in small.
std::shared_ptr<Bitmap> SampleSatellitePicture();
