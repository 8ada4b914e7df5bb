// Plane points and vectors of the host's geometry module.
#pragma once

#include <cmath>

namespace Geometry {

template <typename T> struct Vector2 {
	T x{};
	T y{};

	Vector2() = default;
	Vector2(T x, T y) : x(x), y(y) {}

	Vector2 operator-(const Vector2& other) const { return {x - other.x, y - other.y}; }
	Vector2 operator*(T factor) const { return {x * factor, y * factor}; }
	T GetLength() const { return std::hypot(x, y); }
};

template <typename T> struct Point2 {
	T x{};
	T y{};

	Point2() = default;
	Point2(T x, T y) : x(x), y(y) {}

	Vector2<T> operator-(const Point2& other) const { return {x - other.x, y - other.y}; }
	Point2 operator+(const Vector2<T>& offset) const { return {x + offset.x, y + offset.y}; }
	Point2 operator-(const Vector2<T>& offset) const { return {x - offset.x, y - offset.y}; }
	bool operator==(const Point2& other) const { return x == other.x && y == other.y; }
};

template <typename T> T Dot(const Vector2<T>& a, const Vector2<T>& b)
{
	return a.x * b.x + a.y * b.y;
}

// The z component of the cross product: positive when b turns counter-clockwise from a.
template <typename T> T Cross(const Vector2<T>& a, const Vector2<T>& b)
{
	return a.x * b.y - a.y * b.x;
}

using Point2d = Point2<double>;
using Vector2d = Vector2<double>;

} // namespace Geometry
