#include "Game/LevelAttackPaths.h"

#include <tinyxml.h>

#include <iterator>

#include "AssertReport.h"
#include "XmlAttributes.h"

namespace {

// Why a wave has no lane to fly: a clause that names the path ("path 0 has no LEFT side
// line") and, when the path's own element was reported already, what was wrong with it.
struct LaneGap {
  std::string why;
  std::string detail;

  bool none() const { return why.empty(); }
  std::string full() const { return detail.empty() ? why : why + ": " + detail; }
};

LaneGap laneGap(const WaveDescription& record, const std::map<int, PathDescription>& paths, const PathGaps& gaps) {
  const std::string path = "path " + std::to_string(record.pathId);
  auto it = paths.find(record.pathId);
  if (it == paths.end()) {
    auto gap = gaps.paths.find(record.pathId);
    if (gap != gaps.paths.end()) return {path + " is left out", gap->second};
    return {"there is no " + path, ""};
  }
  int lane = -1;
  if (record.pathSubId.empty()) lane = PathDescription::Centre;
  else if (record.pathSubId == "LEFT") lane = PathDescription::Left;
  else if (record.pathSubId == "RIGHT") lane = PathDescription::Right;
  if (lane < 0)
    return {"pathSubId \"" + record.pathSubId + "\" names no lane of " + path + " (LEFT, RIGHT, or none for its centre line)",
            ""};
  auto points = it->second.points.find(lane);
  if (points != it->second.points.end() && !points->second.empty()) return {};
  if (auto gap = gaps.sides.find(record.pathId); gap != gaps.sides.end()) return {path + " has no side lines", gap->second};
  return {path + " has no " + record.pathSubId + " side line", ""};
}

template <typename T>
T elementAt(const std::map<int, T>& elements, int id, T none) {
  auto it = elements.find(id);
  return it == elements.end() ? none : it->second;
}

}  // namespace

void reportLevelContent(const bge::XmlReader& reader, const TiXmlElement* e, const std::string& message) {
  std::string where = reader.path();
  if (e) {
    where += ": <" + std::string(e->Value());
    if (reader.has(e, "id")) where += " id=\"" + reader.readString(e, "id", "") + "\"";
    where += "> (line " + std::to_string(e->Row()) + ")";
  }
  bge::errorReport((where + ": " + message).c_str());
}

std::string keepFlyableAttacks(const AttackElements& elements, const PathGaps& gaps, const bge::XmlReader& reader,
                               LevelFileModel& model) {
  std::string firstLeftOut;
  AttackMap kept;
  for (auto at = model.attacks.begin(); at != model.attacks.end(); ++at) {
    const int id = at->first;
    const std::vector<WaveDescription>& records = at->second;
    const std::string attack = "attack " + std::to_string(id);
    const std::vector<const TiXmlElement*> waves = elementAt(elements.waves, id, std::vector<const TiXmlElement*>());
    std::vector<WaveDescription> flyable;
    std::vector<std::pair<size_t, LaneGap>> grounded;
    for (size_t i = 0; i < records.size(); ++i) {
      LaneGap gap = laneGap(records[i], model.paths, gaps);
      if (gap.none()) flyable.push_back(records[i]);
      else grounded.emplace_back(i, std::move(gap));
    }
    if (flyable.empty() && !grounded.empty()) {
      reportLevelContent(reader, elementAt(elements.attacks, id, static_cast<const TiXmlElement*>(nullptr)),
                         "no wave of " + attack + " has a path to fly (" + grounded.front().second.why +
                             "); the attack is left out" +
                             (std::next(at) != model.attacks.end() ? ", and the next one takes its turn" : ""));
      if (firstLeftOut.empty()) firstLeftOut = attack + ": " + grounded.front().second.full();
      continue;
    }
    for (const auto& [index, gap] : grounded)
      reportLevelContent(reader, index < waves.size() ? waves[index] : nullptr,
                         gap.why + "; the wave is left out of " + attack);
    kept.emplace(static_cast<int>(kept.size()), std::move(flyable));
  }
  model.attacks = std::move(kept);
  return firstLeftOut;
}
