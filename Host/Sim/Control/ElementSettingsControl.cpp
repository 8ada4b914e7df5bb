// The control interface's element settings: properties, classifications,
// categories, tools, favorites and library parts of the stand-in's project.
#include <algorithm>
#include <cstring>

#include "Sim/API/ElementSettings.hpp"
#include "Sim/Control/ControlRecords.hpp"

using Sim::TheProject;

namespace HostControl {

PCC ToControl(const Sim::StoredPCC& pcc)
{
	return {pcc.propertyValues, pcc.classificationItems, pcc.categoryValues};
}

Sim::StoredPCC ToStored(const PCC& pcc)
{
	return {pcc.propertyValues, pcc.classificationItems, pcc.categoryValues};
}

namespace {

API_Guid GuidOrNew(const API_Guid& guid)
{
	return guid == APINULLGuid ? TheProject().NewGuid() : guid;
}

template <typename T, typename SameAs> void ReplaceOrAppend(std::vector<T>& items, const T& item, SameAs sameAs)
{
	auto found = std::find_if(items.begin(), items.end(), [&](const T& existing) { return sameAs(existing, item); });
	if (found != items.end())
		*found = item;
	else
		items.push_back(item);
}

template <typename T, typename Doomed> void EraseIf(std::vector<T>& items, Doomed doomed)
{
	items.erase(std::remove_if(items.begin(), items.end(), doomed), items.end());
}

} // namespace

PCC GetElementPCC(const API_Guid& element)
{
	const Sim::StoredPCC* stored = TheProject().elementPCC.Get(element);
	return stored == nullptr ? PCC() : ToControl(*stored);
}

API_Guid DefinePropertyGroup(const API_PropertyGroup& group)
{
	API_PropertyGroup defined = group;
	defined.guid = GuidOrNew(group.guid);
	ReplaceOrAppend(TheProject().properties.groups, defined,
	                [](const API_PropertyGroup& a, const API_PropertyGroup& b) { return a.guid == b.guid; });
	return defined.guid;
}

API_Guid DefineProperty(const API_PropertyDefinition& definition, const std::vector<API_ElemTypeID>& elementTypes)
{
	Sim::StoredPropertyDefinition defined{definition, elementTypes};
	defined.definition.guid = GuidOrNew(definition.guid);
	ReplaceOrAppend(TheProject().properties.definitions, defined,
	                [](const Sim::StoredPropertyDefinition& a, const Sim::StoredPropertyDefinition& b) {
		                return a.definition.guid == b.definition.guid;
	                });
	return defined.definition.guid;
}

API_PropertyDefinition StringPropertyDefinition(const API_Guid& group, const std::string& name)
{
	API_PropertyDefinition definition;
	definition.definitionType = API_PropertyCustomDefinitionType;
	definition.groupGuid = group;
	definition.name = name;
	definition.collectionType = API_PropertySingleCollectionType;
	definition.valueType = API_PropertyStringValueType;
	definition.measureType = API_PropertyDefaultMeasureType;
	definition.defaultValue.basicValue.variantStatus = API_VariantStatusNormal;
	definition.defaultValue.basicValue.singleVariant.variant.type = API_PropertyStringValueType;
	return definition;
}

void DropPropertyGroup(const API_Guid& group)
{
	EraseIf(TheProject().properties.groups, [&](const API_PropertyGroup& stored) { return stored.guid == group; });
	EraseIf(TheProject().properties.definitions,
	        [&](const Sim::StoredPropertyDefinition& stored) { return stored.definition.groupGuid == group; });
}

void DropProperty(const API_Guid& property)
{
	EraseIf(TheProject().properties.definitions,
	        [&](const Sim::StoredPropertyDefinition& stored) { return stored.definition.guid == property; });
}

API_Guid AddClassificationSystem(const std::string& name, const API_Guid& guid)
{
	Sim::ClassificationSystem system{GuidOrNew(guid), GS::UniString(name)};
	TheProject().classifications.systems.push_back(system);
	return system.guid;
}

API_Guid AddClassificationItem(const API_Guid& system, const std::string& id, const API_Guid& guid)
{
	Sim::ClassificationItem item{GuidOrNew(guid), system, GS::UniString(id)};
	TheProject().classifications.items.push_back(item);
	return item.guid;
}

void DropClassificationSystem(const API_Guid& system)
{
	EraseIf(TheProject().classifications.systems,
	        [&](const Sim::ClassificationSystem& stored) { return stored.guid == system; });
	EraseIf(TheProject().classifications.items,
	        [&](const Sim::ClassificationItem& stored) { return stored.system == system; });
}

void DefineCategory(const API_ElemCategory& category, std::vector<API_ElemCategoryValue> values,
                    const std::vector<API_ElemTypeID>& elementTypes)
{
	for (API_ElemCategoryValue& value : values)
		value.category = category;
	ReplaceOrAppend(
	    TheProject().categories, Sim::StoredCategory{category, values, elementTypes},
	    [](const Sim::StoredCategory& a, const Sim::StoredCategory& b) { return a.category.guid == b.category.guid; });
}

void DropCategory(const API_Guid& category)
{
	EraseIf(TheProject().categories,
	        [&](const Sim::StoredCategory& stored) { return stored.category.guid == category; });
}

void DefineTool(const API_Element& record, const MemoParts& memo)
{
	Sim::StoredTool& tool = TheProject().tools[record.header.type];
	tool.record = record;
	tool.memo = ToStoredMemo(memo);
}

PCC GetToolPCC(const API_ElemType& type)
{
	const Sim::StoredTool* tool = Sim::FindTool(type);
	return tool == nullptr ? PCC() : ToControl(tool->pcc);
}

void SetToolPCC(const API_ElemType& type, const PCC& pcc)
{
	if (Sim::StoredTool* tool = Sim::FindTool(type))
		tool->pcc = ToStored(pcc);
}

void DefineFavorite(const Favorite& favorite)
{
	Sim::StoredFavorite stored{GS::UniString(favorite.name), favorite.element,         std::nullopt,
	                           favorite.properties,          favorite.classifications, favorite.categoryValues};
	if (favorite.memo.has_value())
		stored.memo = ToStoredMemo(*favorite.memo);
	ReplaceOrAppend(TheProject().favorites, stored,
	                [](const Sim::StoredFavorite& a, const Sim::StoredFavorite& b) { return a.name == b.name; });
}

void DropFavorite(const std::string& name)
{
	EraseIf(TheProject().favorites,
	        [&](const Sim::StoredFavorite& stored) { return stored.name == GS::UniString(name); });
}

std::optional<FavoriteRequest> LastFavoriteRequest()
{
	const auto& request = Sim::Host().lastFavoriteRequest;
	if (!request.has_value())
		return std::nullopt;
	return FavoriteRequest{request->name.ToCStr().Get(), request->memo, request->properties, request->classifications,
	                       request->categoryValues};
}

Int32 AddLibraryPart(const LibraryPart& part)
{
	auto& library = TheProject().library;
	Int32 index = library.empty() ? 1 : library.rbegin()->first + 1;
	library[index] = {part.main, part.revision, GS::UniString(part.name), part.a, part.b, *ToStoredParams(part.params)};
	return index;
}

void DropLibraryPart(const API_Guid& main)
{
	auto& library = TheProject().library;
	for (auto part = library.begin(); part != library.end();)
		part = part->second.main == main ? library.erase(part) : std::next(part);
}

std::optional<Int32> LibraryPartIndex(const API_Guid& main)
{
	for (const auto& [index, part] : TheProject().library) {
		if (part.main == main)
			return index;
	}
	return std::nullopt;
}

API_ElemType ElemType(API_ElemTypeID type)
{
	return {type, APIVarId_Generic, APINULLGuid};
}

} // namespace HostControl
