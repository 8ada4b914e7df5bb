// A plan of the host's project, drawn as an SVG picture: every story that
// holds zones under its own name, with its zones' numbers and names, walls,
// columns, doors and windows as the host places them, and the elements a
// covering run made in colours of their own; a legend and a scale bar.
#pragma once

#include <set>
#include <string>

#include "API/Elements.hpp"

namespace Runner {

struct PlanOptions {
	std::string title;
	double pixelsPerMetre = 60.0; // at most: a large project is drawn smaller
};

// Coverings are the walls and slabs a covering run made; doors and windows
// that sit in a covering wall are drawn as its holes. A covering slab in the
// upper half of its story is drawn as a ceiling, others as floors.
std::string PlanSvg(const std::set<API_Guid>& coverings, const PlanOptions& options);

} // namespace Runner
