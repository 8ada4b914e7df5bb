// GS::Optional and GS::Pair: small value holders of the host's base library.
#pragma once

#include <optional>
#include <utility>

namespace GS {

template <typename T> class Optional {
public:
	Optional() = default;
	Optional(const T& value) : value(value) {}
	Optional(T&& value) : value(std::move(value)) {}

	bool HasValue() const { return value.has_value(); }
	T& Get() { return *value; }
	const T& Get() const { return *value; }
	T& operator*() { return *value; }
	const T& operator*() const { return *value; }
	T* operator->() { return &*value; }
	const T* operator->() const { return &*value; }
	template <typename... Args> T& New(Args&&... args) { return value.emplace(std::forward<Args>(args)...); }
	void Clear() { value.reset(); }

private:
	std::optional<T> value;
};

template <typename First, typename Second> struct Pair {
	First first{};
	Second second{};

	bool operator==(const Pair& other) const { return first == other.first && second == other.second; }
};

} // namespace GS
