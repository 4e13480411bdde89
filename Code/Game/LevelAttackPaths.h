#pragma once
// Which of a level's attacks have a path their ships can fly. A wave on a path or lane
// without points sends nothing, and a level whose every attack is so would be won by
// the first wave sent: the reader leaves such waves and attacks out, naming each, and
// the level is refused when no attack remains.
#include <map>
#include <string>
#include <vector>

#include "Game/LevelFileModel.h"

class TiXmlElement;
namespace bge {
class XmlReader;
}

// Why paths of the file gave no points, by path id, in words that follow "path <id>
// is left out: " (the whole path) or "path <id> has no side lines: " (its side lines).
struct PathGaps {
  std::map<int, std::string> paths;
  std::map<int, std::string> sides;
};

// Where the attacks kept so far and their waves stand in the file, by attack id.
struct AttackElements {
  std::map<int, const TiXmlElement*> attacks;
  std::map<int, std::vector<const TiXmlElement*>> waves;
};

// Bad content of a level file: "<file>: <Tag id="..."> (line n): <message>" as an error,
// the message saying what the game does instead.
void reportLevelContent(const bge::XmlReader& reader, const TiXmlElement* e, const std::string& message);

// Leaves out each wave with no lane to fly and each attack left with none, and numbers
// the attacks that remain 0, 1, 2 ... in their order, so a later attack takes the turn
// of one left out. Answers why the first attack left out was, naming it ("attack 0:
// path 0 is left out: ..."); empty when every attack stays.
std::string keepFlyableAttacks(const AttackElements& elements, const PathGaps& gaps, const bge::XmlReader& reader,
                               LevelFileModel& model);
