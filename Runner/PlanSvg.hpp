// A plan of one story of the host's project, drawn as an SVG picture: zones
// with their numbers and names, walls, columns, doors and windows, and the
// elements a covering run made, in colours of their own.
#pragma once

#include <set>
#include <string>

#include "API/Elements.hpp"

namespace Runner {

struct PlanOptions {
	Int16 story = 0;
	std::string title;
	double pixelsPerMetre = 60.0;
};

// Coverings are the walls and slabs a covering run made; doors and windows
// that sit in a covering wall are drawn as its holes.
std::string PlanSvg(const std::set<API_Guid>& coverings, const PlanOptions& options);

} // namespace Runner
