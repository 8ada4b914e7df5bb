// Channel codecs of the host records that the covering settings hold. Every
// value goes through the channel's typed calls; a function answers the
// channel's status after its record, or the first error that ends it early.
#pragma once

#include <utility>

#include "API/Memo.hpp"
#include "API/Properties.hpp"
#include "GS/Array.hpp"
#include "GS/Channel.hpp"
#include "GS/Optional.hpp"

// How the value of a library-part parameter is stored, by its type modifier and type code.
enum class ParamValueKind {
	Real,        // a double
	Text,        // the 256-unit text block
	Nothing,     // no value (separators, dictionaries)
	ArrayBytes,  // the byte size of the value handle, then its bytes
	Unsupported, // cannot be stored
};

ParamValueKind GetParamValueKind(const API_AddParType& param);

// COVERR_PARAM_WRITE for a parameter whose value cannot be stored. An array
// parameter without a value handle is written with size 0.
GSErrCode Write(GS::OChannel& channel, const API_AddParType& param);
// COVERR_PARAM_READ for a stored parameter whose value cannot be read. Fields
// that are not stored read as zero, and a stored array size of 0 gives no value
// handle. On success the record's previous array value is released; on failure
// the record is left as it was.
GSErrCode Read(GS::IChannel& channel, API_AddParType& param);

GSErrCode Write(GS::OChannel& channel, const API_Guid& guid);
GSErrCode Read(GS::IChannel& channel, API_Guid& guid);
GSErrCode Write(GS::OChannel& channel, const GS::UniString& text);
GSErrCode Read(GS::IChannel& channel, GS::UniString& text);
GSErrCode Write(GS::OChannel& channel, const GS::Pair<API_Guid, API_Guid>& pair);
GSErrCode Read(GS::IChannel& channel, GS::Pair<API_Guid, API_Guid>& pair);

GSErrCode Write(GS::OChannel& channel, const API_Variant& variant);
GSErrCode Read(GS::IChannel& channel, API_Variant& variant);
GSErrCode Write(GS::OChannel& channel, const API_PropertyValue& value);
GSErrCode Read(GS::IChannel& channel, API_PropertyValue& value);
GSErrCode Write(GS::OChannel& channel, const API_SingleEnumerationVariant& entry);
GSErrCode Read(GS::IChannel& channel, API_SingleEnumerationVariant& entry);
GSErrCode Write(GS::OChannel& channel, const API_PropertyDefaultValue& defaultValue);
GSErrCode Read(GS::IChannel& channel, API_PropertyDefaultValue& defaultValue);
GSErrCode Write(GS::OChannel& channel, const API_PropertyDefinition& definition);
GSErrCode Read(GS::IChannel& channel, API_PropertyDefinition& definition);
GSErrCode Write(GS::OChannel& channel, const API_Property& property);
GSErrCode Read(GS::IChannel& channel, API_Property& property);
GSErrCode Write(GS::OChannel& channel, const API_ElemCategoryValue& value);
GSErrCode Read(GS::IChannel& channel, API_ElemCategoryValue& value);

// A framed array: the count, then the items; writing stops at the first failing item.
template <typename T> GSErrCode Write(GS::OChannel& channel, const GS::Array<T>& items)
{
	GS::OutputFrame frame(channel, GS::ArrayPrivate::classInfo);
	if (frame.GetStatus() != NoError)
		return frame.GetStatus();
	if (GSErrCode error = channel.Write(items.GetSize()); error != NoError)
		return error;
	for (const T& item : items) {
		if (GSErrCode error = Write(channel, item); error != NoError)
			return error;
	}
	return channel.GetOutputStatus();
}

// Replaces the list by the stored one. Items are added as they are read, never
// sized by the stored count, so that a damaged count claims no memory; after a
// failure the list holds the items read before it.
template <typename T> GSErrCode Read(GS::IChannel& channel, GS::Array<T>& items)
{
	items.Clear();
	GS::InputFrame frame(channel, GS::ArrayPrivate::classInfo);
	if (frame.GetStatus() != NoError)
		return frame.GetStatus();
	UInt32 count = 0;
	if (GSErrCode error = channel.Read(count); error != NoError)
		return error;
	for (UInt32 i = 0; i < count; ++i) {
		T item{};
		if (GSErrCode error = Read(channel, item); error != NoError)
			return error;
		items.Push(std::move(item));
	}
	return channel.GetInputStatus();
}
