#pragma once

#include <string>

#include "replies/Language.h"

namespace ws {

// Texts of the service's icon numbers 1 to 44 (9, 10, 27 and 28 do not exist); an unknown
// number gives the empty text.
std::string iconPhrase(int icon, Lang lang);
// Variant 0 is the icon phrase itself, as the service often sends; 1 is a livelier phrase.
std::string shortPhrase(int icon, int variant, Lang lang);

// 16-point compass: "NNE" in English, "NNO" in German.
std::string compassEnglish(int degrees);
std::string compassLocalized(int degrees, Lang lang);

std::string uvCategory(int uvIndex, Lang lang);
int uvCategoryValue(int uvIndex);
std::string pollenCategory(int level, Lang lang);      // level 1 (low) ... 4 (very high)
std::string airQualityCategory(int value, Lang lang);
int airQualityCategoryValue(int value);
std::string realFeelPhrase(double celsius, Lang lang);
std::string tendencyText(char code, Lang lang);        // 'R', 'S', 'F'
std::string weekdayName(int weekday, Lang lang);       // 0 = Sunday

}  // namespace ws
