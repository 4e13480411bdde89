#include <gtest/gtest.h>

#include "Color.h"
#include "LayoutValues.h"
#include "Rect5.h"

TEST(Color, ScaleRgbTruncatesWrapsAndKeepsAlpha) {
  const Color c(100, 200, 3, 77);
  const Color half = Color::scaleRgb(c, 0.5f);
  EXPECT_EQ(half, Color(50, 100, 1, 77));  // 1.5 truncates to 1
  const Color doubled = Color::scaleRgb(c, 2.0f);
  EXPECT_EQ(doubled.g, 400 % 256);  // wraps modulo 256 rather than saturating
  EXPECT_EQ(doubled.a, 77);
  EXPECT_EQ(Color::scaleRgb(Color(200, 0, 1, 9), 1e30f).a, 9);  // no integer overflow (UBSan)
  EXPECT_EQ(Color::scaleRgb(Color(10, 0, 0, 0), -1.0f).r, 246);  // -10 keeps its low byte
  EXPECT_NE(Color(1, 2, 3, 4), Color(1, 2, 3, 5));
}

TEST(Rect5, ContainsIsHalfOpen) {
  const Rect5 r(10, 20, 5, 4);
  EXPECT_EQ(r.z, 0.0f);
  EXPECT_TRUE(r.contains(10, 20));
  EXPECT_TRUE(r.contains(14, 23));
  EXPECT_FALSE(r.contains(15, 20));
  EXPECT_FALSE(r.contains(10, 24));
  EXPECT_FALSE(r.contains(9, 20));
  EXPECT_FALSE(Rect5().contains(0, 0));
}

TEST(LayoutValues, ParseColor) {
  EXPECT_EQ(parseColor("Color(10, 20, 30, 40)"), Color(10, 20, 30, 40));
  // Anything may come before the word; it only has to occur.
  EXPECT_EQ(parseColor("tint=Color(1,2,3,4)"), Color(1, 2, 3, 4));
  // An absent part reads as 0.
  EXPECT_EQ(parseColor("Color(5,,7,8)"), Color(5, 0, 7, 8));
  // Values truncate to a byte.
  EXPECT_EQ(parseColor("Color(256,257,0,255)"), Color(0, 1, 0, 255));
  for (const char* bad : {"", "Color(1,2,3)", "Colour(1,2,3,4)", "Color)1,2,3,4(", "Color(1,2,3,4",
                          "(1,2,3,4)", "Color(1,2,3,4,5)"}) {
    EXPECT_EQ(parseColor(bad), Color::white) << bad;
  }
}

TEST(LayoutValues, ParseRect) {
  const Rect5 r = parseRect("Rect(1.5, 2, 30, 40.25)");
  EXPECT_FLOAT_EQ(r.x, 1.5f);
  EXPECT_FLOAT_EQ(r.y, 2.0f);
  EXPECT_FLOAT_EQ(r.z, 0.0f);
  EXPECT_FLOAT_EQ(r.width, 30.0f);
  EXPECT_FLOAT_EQ(r.height, 40.25f);
  for (const char* bad : {"", "Rect(1,2,3,4,5)", "Rect(1,2,3)", "Color(1,2,3,4)", "Rect)1,2,3,4("}) {
    const Rect5 z = parseRect(bad);
    EXPECT_EQ(z.x + z.y + z.width + z.height, 0.0f) << bad;
  }
}

TEST(LayoutValues, ParseIntList) {
  EXPECT_TRUE(parseIntList("").empty());
  EXPECT_EQ(parseIntList("3,-1,,7"), (std::vector<int>{3, -1, 0, 7}));
  EXPECT_EQ(parseIntList("5,"), (std::vector<int>{5, 0}));
}
