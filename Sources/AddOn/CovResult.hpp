// The engine's value-or-error result.
#pragma once

#include <utility>
#include <variant>

#include "ErrorCodes.hpp"

struct CovError {
	ErrCode code;
};

template <typename T> class CovResult {
public:
	CovResult(T value) : content(std::move(value)) {}
	CovResult(CovError error) : content(error) {}

	bool HasValue() const { return content.index() == 0; }
	// The error code; NoError for a value.
	ErrCode Error() const { return HasValue() ? NoError : std::get<1>(content).code; }
	T& Value() { return std::get<0>(content); }
	const T& Value() const { return std::get<0>(content); }

private:
	std::variant<T, CovError> content;
};
