#include "LevelCopy.h"

#include <tinyxml.h>

#include <algorithm>
#include <string>

#include "XmlAttributes.h"

namespace levelbench {

void keepShipsWalking(const bge::XmlReader& reader, TiXmlElement* stage) {
  TiXmlElement* own = stage->FirstChildElement("ForceGameplayType");
  const std::string type = own ? reader.readString(own, "type", "") : "";
  if (type == "STATION_PART_STATIC" || type == "STATION_PART_MOVING") return;
  if (own) stage->RemoveChild(own);
  TiXmlElement force("ForceGameplayType");
  force.SetAttribute("type", "STATION_PART_STATIC");
  stage->InsertEndChild(force);
}

double percentile(std::vector<double> v, double p) {
  if (v.empty()) return 0.0;
  std::sort(v.begin(), v.end());
  return v[std::min(v.size() - 1, static_cast<size_t>(p * (v.size() - 1) + 0.5))];
}

}  // namespace levelbench
