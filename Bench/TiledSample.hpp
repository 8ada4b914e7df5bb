// A project of many apartments for measuring: the sample tiled on a square
// grid, each copy moved clear of its neighbours and its ids given the copy's
// prefix, so that every copy relates only to itself and is as valid as the sample.
#pragma once

#include "SampleDescription.hpp"

namespace Bench {

struct Extent {
	API_Coord min;
	API_Coord max;
};

// The box around the sample's walls, columns, zones and niches.
Extent ExtentOf(const Runner::SampleDescription& sample);

// Copy k sits in column k % side and row k / side of a grid whose side is the
// smallest that holds every copy; copy 0 stays where the sample is. Stories and
// favorites come once.
Runner::SampleDescription TileSample(const Runner::SampleDescription& sample, std::size_t copies);

// The id that an element of the sample has in copy k.
std::string CopyId(std::size_t copy, const std::string& id);

} // namespace Bench
