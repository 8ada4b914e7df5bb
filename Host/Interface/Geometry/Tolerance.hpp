// Tolerances of the host's geometric comparisons; default-constructed ones are the host's defaults.
#pragma once

namespace Geometry {

class AngleTolerance {
public:
	AngleTolerance() = default;

	double GetRadians() const { return radians; }

private:
	double radians = 1e-5;
};

class DistanceTolerance {
public:
	DistanceTolerance() = default;
	explicit DistanceTolerance(double length) : length(length) {}

	// Metres.
	double GetLength() const { return length; }

private:
	double length = 1e-5;
};

class Tolerance {
public:
	Tolerance() = default;
	Tolerance(const AngleTolerance& angle, const DistanceTolerance& distance) : angle(angle), distance(distance) {}

	const AngleTolerance& GetAngle() const { return angle; }
	const DistanceTolerance& GetDistance() const { return distance; }

private:
	AngleTolerance angle;
	DistanceTolerance distance;
};

} // namespace Geometry
