// Error codes of the host's geometry module.
#pragma once

#include "GS/Types.hpp"

namespace Geometry {

// Malformed polygon arrays: counts, contour ends, arc indices or non-finite values.
constexpr GSErrCode ErrInvalidPolygon = static_cast<GSErrCode>(0x81200001);
// A null output or an unknown mode.
constexpr GSErrCode ErrBadParameter = static_cast<GSErrCode>(0x81200002);

} // namespace Geometry
