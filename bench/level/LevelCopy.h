#pragma once
// What the level benchmark's modes share when they copy a level and read their figures.
#include <vector>

class TiXmlElement;
namespace bge {
class XmlReader;
}

namespace levelbench {

// Ships that complete their path walk again without costing a life, so a whole attack comes
// onto the field instead of the level ending at the twentieth. A level about its station
// keeps its own kind (a moving station costs its orbit).
void keepShipsWalking(const bge::XmlReader& reader, TiXmlElement* stage);

// The value at fraction p (0..1) of the sorted values; 0 for none.
double percentile(std::vector<double> v, double p);

}  // namespace levelbench
