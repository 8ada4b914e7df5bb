// A plan of the host's project, drawn as an SVG picture: every story that
// holds zones under its own name, with its zones' numbers and names, walls,
// columns, doors and windows as the host places them, and the elements a
// covering run made in colours of their own; a legend and a scale bar.
#pragma once

#include <cstddef>
#include <functional>
#include <set>
#include <string>

#include "API/Elements.hpp"

namespace Runner {

struct PlanOptions {
	std::string title;
	double pixelsPerMetre = 60.0; // at most: a large project is drawn smaller
};

// Told after each element that a layer of the plan draws, with the count of
// such steps so far and of all of them.
using PlanProgress = std::function<void(std::size_t drawn, std::size_t total)>;

// Coverings are the walls and slabs a covering run made; doors and windows
// that sit in a covering wall are drawn as its holes. A covering slab in the
// upper half of its story is drawn as a ceiling, others as floors.
std::string PlanSvg(const std::set<API_Guid>& coverings, const PlanOptions& options,
                    const PlanProgress& progress = nullptr);

} // namespace Runner
