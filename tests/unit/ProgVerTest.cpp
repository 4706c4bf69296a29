#include <gtest/gtest.h>

#include "update/mProgVer.h"

TEST(ProgVer, SuffixRules) {
    struct Row { std::uint16_t major, minor, revision; const char* text; };
    const Row rows[] = {
        {1, 54, 0, "1.54"},        {1, 54, 3, "1.54c"},          {1, 54, 1, "1.54a"},
        {1, 54, 26, "1.54z"},      {1, 54, 27, "1.54"},          {1, 54, 1000, "1.54 Alpha"},
        {1, 54, 1002, "1.54 Alpha 2"}, {1, 54, 1999, "1.54 Alpha 999"}, {1, 54, 100, "1.54 Beta"},
        {1, 54, 199, "1.54 Beta 99"},  {1, 54, 2000, "1.54 Beta"},   {1, 54, 2005, "1.54 Beta 5"},
        {1, 54, 255, "1.54\xDF"},  {1, 54, 9999, "1.54\xDF"},    {1, 7, 0, "1.07"},
        {2, 5, 0, "2.05"},         {1, 123, 0, "1.23"},          {1, 54, 99, "1.54"},
        {1, 54, 200, "1.54"},      {1, 54, 3000, "1.54"},
    };
    for (const Row& r : rows) EXPECT_EQ(ProgVer(r.major, r.minor, r.revision), r.text) << r.revision;
}
