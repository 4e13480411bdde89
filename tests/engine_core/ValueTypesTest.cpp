#include <gtest/gtest.h>

#include "Color.h"
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
