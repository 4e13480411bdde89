#include "System/DisplayText.h"

#include <cctype>
#include <climits>
#include <cmath>

#include "GameApp.h"
#include "LabelManager.h"
#include "Utilities.h"

std::string amountText(double value) {
  if (std::isnan(value)) value = 0.0;
  if (value >= static_cast<double>(INT_MAX)) return formatThousands(INT_MAX);
  if (value <= static_cast<double>(INT_MIN)) return formatThousands(INT_MIN);
  return formatThousands(static_cast<int>(value));
}

std::string percentText(int percent) { return std::to_string(percent) + "%"; }

std::string enemyName(const std::string& classWord) {
  GameApp* app = GameApp::instance();
  const LabelManager* table = app ? app->gameMessages() : nullptr;
  const std::string key = "ENEMY_NAME_" + toUpperCase(classWord);
  if (table && table->hasLabel(key)) return table->getLabel(key);
  std::string name = classWord;
  if (!name.empty()) name[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
  return name;
}
