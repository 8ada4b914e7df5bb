// GS::UniString: the host's text type, held as UTF-16 code units. Narrow texts
// in and out are UTF-8, the stand-in's default character code.
#pragma once

#include <initializer_list>
#include <string>
#include <type_traits>

#include "GS/Array.hpp"
#include "GS/Types.hpp"

namespace GS {

using UniChar = char16_t;

enum CharCode { CC_Default = 0, CC_UTF8 = 1 };

constexpr USize MaxUSize = 0xFFFFFFFF;

// One argument of UniString::Printf with its kind, so that formatting never
// reads an argument as a type that the format merely names.
struct PrintfArgument {
	enum Kind { Integer, Real, Text };

	template <typename T, typename = std::enable_if_t<std::is_integral<T>::value || std::is_enum<T>::value>>
	PrintfArgument(T value) : kind(Integer), bits(static_cast<UInt64>(value)), size(sizeof(T))
	{
	}
	PrintfArgument(double value) : kind(Real), real(value) {}
	PrintfArgument(const char* value) : kind(Text), text(value) {}

	Kind kind;
	UInt64 bits = 0; // a whole number as converted to 64 bits
	USize size = 0;  // the whole number's own size in bytes
	double real = 0.0;
	const char* text = nullptr; // UTF-8
};

class UniString {
public:
	// A narrow copy of a text, alive as long as the holder.
	class CStr {
	public:
		explicit CStr(std::string text) : text(std::move(text)) {}
		const char* Get() const { return text.c_str(); }
		operator const char*() const { return text.c_str(); }

	private:
		std::string text;
	};

	UniString() = default;
	UniString(const char* text, CharCode charCode = CC_Default);
	UniString(const std::string& text);
	UniString(const UniChar* text);
	UniString(const UniChar* text, USize length);

	USize GetLength() const { return static_cast<USize>(units.size()); }
	bool IsEmpty() const { return units.empty(); }
	void Clear() { units.clear(); }
	UniChar operator[](UIndex index) const { return units.at(index); }

	UniString& operator+=(const UniString& other);
	UniString operator+(const UniString& other) const;
	bool operator==(const UniString& other) const { return units == other.units; }
	bool operator!=(const UniString& other) const { return units != other.units; }

	// Splits at every occurrence of the whole separator; empty parts are kept.
	USize Split(const UniString& separator, Array<UniString>* parts) const;

	CStr ToCStr(UIndex from = 0, USize range = MaxUSize, CharCode charCode = CC_Default) const;
	const UniChar* ToUStr() const { return units.c_str(); }
	// Copies at most maxUnits - 1 units and a terminating zero into a text block.
	void CopyUStr(UniChar* destination, USize maxUnits) const;

	// printf-style formatting of whole numbers (d i o u x X c), real numbers
	// (f F e E g G a A) and UTF-8 texts (s), with flags, width and precision;
	// length modifiers are read past, as each argument brings its own type. A
	// conversion whose argument is missing or of another kind stays as written.
	template <typename... Args> static UniString Printf(const UniString& format, Args... args)
	{
		return Format(format, {PrintfArgument(args)...});
	}

private:
	static UniString Format(const UniString& format, std::initializer_list<PrintfArgument> arguments);

	std::u16string units;
};

UniString operator+(const char* left, const UniString& right);

} // namespace GS

template <> struct std::hash<GS::UniString> {
	std::size_t operator()(const GS::UniString& text) const
	{
		return std::hash<std::u16string>()(std::u16string(text.ToUStr(), text.GetLength()));
	}
};
