#pragma once
// How numbers and names read on every screen, in one style: amounts (credits,
// scores, prices, energy, counts) with their thousands grouped, percentages with
// the sign against the figure, names in sentence case as the label table gives
// them.
#include <string>

// 1900 -> "1,900"; a fraction is cut off, as the credits count it.
std::string amountText(double value);
// 15 -> "15%".
std::string percentText(int percent);
// An enemy class word ("spacedog") as the name the label table gives it
// ("Space dog"); a word it does not know, with a capital first letter.
std::string enemyName(const std::string& classWord);
