#include "ModelImage.hpp"

#include <cstring>

#include "HostControl.hpp"

namespace {

class Bytes {
public:
	template <typename T> Bytes& Raw(const T& value)
	{
		text.append(reinterpret_cast<const char*>(&value), sizeof(value));
		return *this;
	}
	template <typename T> Bytes& List(const std::optional<std::vector<T>>& list)
	{
		Raw(list.has_value());
		if (list) {
			Raw(list->size());
			for (const T& item : *list)
				Raw(item);
		}
		return *this;
	}
	Bytes& Text(const GS::UniString& value)
	{
		text.append(value.ToCStr(0, GS::MaxUSize, GS::CC_UTF8).Get()).push_back('\0');
		return *this;
	}
	Bytes& Variant(const API_Variant& value)
	{
		return Raw(value.type)
		    .Raw(value.intValue)
		    .Raw(value.doubleValue)
		    .Text(value.uniStringValue)
		    .Raw(value.boolValue)
		    .Raw(value.guidValue);
	}
	std::string Take() { return std::move(text); }

private:
	std::string text;
};

std::string GuidText(const API_Guid& guid)
{
	return APIGuidToString(guid).ToCStr().Get();
}

// An array parameter's handle is an address; its bytes stand for it.
Bytes& Params(Bytes& bytes, const std::optional<std::vector<HostControl::Param>>& params)
{
	bytes.Raw(params.has_value());
	for (const HostControl::Param& param : params.value_or(std::vector<HostControl::Param>())) {
		API_AddParType record = param.record;
		if (record.typeMod == API_ParArray)
			std::memset(static_cast<void*>(&record.value), 0, sizeof(record.value));
		bytes.Raw(record).List(param.arrayValue);
	}
	return bytes;
}

std::string ElementBytes(const API_Guid& guid)
{
	Bytes bytes;
	bytes.Raw(*HostControl::GetElement(guid));
	HostControl::MemoParts memo = HostControl::GetMemoParts(guid);
	bytes.List(memo.coords).List(memo.pends).List(memo.arcs).List(memo.vertexIDs).List(memo.edgeTrims);
	bytes.List(memo.sideMaterials).List(memo.columnSegments);
	return Params(bytes, memo.params).Take();
}

std::string PCCBytes(const HostControl::PCC& pcc)
{
	Bytes bytes;
	for (const auto& [property, value] : pcc.propertyValues) {
		bytes.Raw(property).Raw(value.variantStatus).Variant(value.singleVariant.variant);
		for (const API_Variant& item : value.listVariant.variants)
			bytes.Variant(item);
	}
	for (const GS::Pair<API_Guid, API_Guid>& item : pcc.classificationItems)
		bytes.Raw(item.first).Raw(item.second);
	for (const auto& [category, value] : pcc.categoryValues)
		bytes.Raw(category).Raw(value);
	return bytes.Take();
}

} // namespace

ModelImage TakeModelImage()
{
	ModelImage image;
	for (const API_Guid& guid : HostControl::Elements()) {
		std::string name = GuidText(guid);
		image["element " + name] = ElementBytes(guid);
		image["properties of " + name] = PCCBytes(HostControl::GetElementPCC(guid));
		if (std::optional<HostControl::UserData> data = HostControl::GetUserData(guid)) {
			image[UserDataPart(guid)] =
			    Bytes().Raw(data->version).Raw(data->platformSign).Raw(data->flags).List(data->payload).Take();
		}
	}
	Bytes links;
	for (const HostControl::Link& link : HostControl::Links())
		links.Raw(link);
	image["links"] = links.Take();
	image["group suspension"] = Bytes().Raw(HostControl::GroupsSuspended()).Take();
	return image;
}

std::string UserDataPart(const API_Guid& element)
{
	return "user data of " + GuidText(element);
}

std::vector<std::string> ModelDifferences(const ModelImage& expected, const ModelImage& actual, std::size_t limit)
{
	std::vector<std::string> differences;
	auto note = [&](const std::string& what) {
		if (differences.size() < limit)
			differences.push_back(what);
	};
	for (const auto& [part, bytes] : expected) {
		auto found = actual.find(part);
		if (found == actual.end())
			note("missing " + part);
		else if (found->second != bytes)
			note("changed " + part);
	}
	for (const auto& entry : actual) {
		if (expected.count(entry.first) == 0)
			note("added " + entry.first);
	}
	return differences;
}
