// What every project of the host holds from its start: the built-in ElementID
// property, a few custom properties, a classification system, the element
// categories, a library with the default door, window and niche parts, and the
// tools of walls, slabs, columns, doors and windows.
#include <cstring>

#include "HostControl.hpp"
#include "Sim/API/ElementSettings.hpp"

namespace {

using HostControl::Defaults;
using HostControl::ElemType;

// Fixed GUIDs of the default content; their version field is 0, which no GUID
// that the project counts out ever has.
API_Guid FixedGuid(UInt8 number)
{
	API_Guid guid = APINULLGuid;
	guid.time_low = 0xD0D0D0D0u;
	guid.node[5] = number;
	return guid;
}

HostControl::DefaultProject MakeDefaults()
{
	HostControl::DefaultProject defaults;
	UInt8 next = 1;
	for (API_Guid* guid : {&defaults.generalGroup,
	                       &defaults.trackingGroup,
	                       &defaults.lastRunProperty,
	                       &defaults.checkedByProperty,
	                       &defaults.finishesGroup,
	                       &defaults.finishCodeProperty,
	                       &defaults.classificationSystem,
	                       &defaults.wallItem,
	                       &defaults.slabItem,
	                       &defaults.columnItem,
	                       &defaults.doorItem,
	                       &defaults.windowItem,
	                       &defaults.finishItem,
	                       &defaults.structuralFunction,
	                       &defaults.loadBearing,
	                       &defaults.nonLoadBearing,
	                       &defaults.position,
	                       &defaults.exterior,
	                       &defaults.interior,
	                       &defaults.renovationStatus,
	                       &defaults.existing,
	                       &defaults.toBeDemolished,
	                       &defaults.newlyBuilt})
		*guid = FixedGuid(next++);
	defaults.elementIdProperty = APIGuidFromString("8BACB089-BBFE-41C2-B5A4-D1CEBC2F4FB3");
	defaults.doorPart = APIGuidFromString("7B8B96D6-E5D0-4A81-A769-476EC2EE00F4");
	defaults.windowPart = APIGuidFromString("A6A5B32E-FD58-4EBB-B4EC-0EAD9017CE1C");
	for (const char* niche : {"5BAD5EFE-0F1A-4C6B-91C2-672EF241FA4B", "B1DF0014-79A3-4A6A-9AD7-5242291F6660",
	                          "F8D7E272-1E24-4F6D-BD65-9951911A5C10", "2E8A5E99-2C5E-4CCF-96E1-7F760CAB4E71",
	                          "FD577A13-8C1A-42FB-AE63-5F3CB5C6D918", "15B92AC9-E7B3-4B8A-AA8C-3B5F406333A1",
	                          "DDD13C4A-D5AF-428E-829C-717952EABD77"})
		defaults.nichePart.push_back(APIGuidFromString(niche));
	return defaults;
}

void DefineProperties(const HostControl::DefaultProject& defaults)
{
	using namespace HostControl;
	DefinePropertyGroup({API_PropertyStaticBuiltInGroupType, defaults.generalGroup, "GeneralElemProperties", ""});
	API_PropertyDefinition elementId = StringPropertyDefinition(defaults.generalGroup, "ElementID");
	elementId.definitionType = API_PropertyStaticBuiltInDefinitionType;
	elementId.guid = defaults.elementIdProperty;
	DefineProperty(elementId);

	struct Custom {
		API_Guid group;
		API_Guid guid;
		const char* name;
		std::vector<API_ElemTypeID> elementTypes;
	};
	DefinePropertyGroup({API_PropertyCustomGroupType, defaults.trackingGroup, "Tracking", ""});
	DefinePropertyGroup({API_PropertyCustomGroupType, defaults.finishesGroup, "Finishes", ""});
	for (const Custom& custom :
	     {Custom{defaults.trackingGroup, defaults.lastRunProperty, "Last Covering Run", {}},
	      Custom{defaults.trackingGroup, defaults.checkedByProperty, "Checked By", {}},
	      Custom{defaults.finishesGroup, defaults.finishCodeProperty, "Finish Code", {API_WallID, API_SlabID}}}) {
		API_PropertyDefinition definition = StringPropertyDefinition(custom.group, custom.name);
		definition.guid = custom.guid;
		DefineProperty(definition, custom.elementTypes);
	}
}

void DefineClassifications(const HostControl::DefaultProject& defaults)
{
	HostControl::AddClassificationSystem("Element Classes", defaults.classificationSystem);
	for (const auto& [id, guid] : {std::pair{"Wall", defaults.wallItem}, std::pair{"Slab", defaults.slabItem},
	                               std::pair{"Column", defaults.columnItem}, std::pair{"Door", defaults.doorItem},
	                               std::pair{"Window", defaults.windowItem}, std::pair{"Finish", defaults.finishItem}})
		HostControl::AddClassificationItem(defaults.classificationSystem, id, guid);
}

API_ElemCategoryValue CategoryValue(const API_Guid& guid, const char* name)
{
	API_ElemCategoryValue value;
	std::memset(static_cast<void*>(&value), 0, sizeof(value));
	value.guid = guid;
	GS::UniString(name).CopyUStr(value.name, sizeof(value.name) / sizeof(GS::UniChar));
	value.usableAsCriteria = true;
	value.usableAsPropertyFilter = true;
	return value;
}

void DefineCategory(const API_Guid& guid, API_ElemCategoryID id, const char* name,
                    const std::vector<API_ElemCategoryValue>& values, const std::vector<API_ElemTypeID>& elementTypes)
{
	API_ElemCategory category;
	std::memset(static_cast<void*>(&category), 0, sizeof(category));
	category.guid = guid;
	category.categoryID = id;
	GS::UniString(name).CopyUStr(category.name, sizeof(category.name) / sizeof(GS::UniChar));
	HostControl::DefineCategory(category, values, elementTypes);
}

void DefineCategories(const HostControl::DefaultProject& defaults)
{
	DefineCategory(defaults.structuralFunction, API_ElemCategory_StructuralFunction, "Structural Function",
	               {CategoryValue(defaults.loadBearing, "Load-Bearing Element"),
	                CategoryValue(defaults.nonLoadBearing, "Non-Load-Bearing Element")},
	               {API_WallID, API_ColumnID, API_SlabID});
	DefineCategory(defaults.position, API_ElemCategory_Position, "Position",
	               {CategoryValue(defaults.exterior, "Exterior"), CategoryValue(defaults.interior, "Interior")},
	               {API_WallID, API_ColumnID, API_SlabID, API_DoorID, API_WindowID});
	DefineCategory(defaults.renovationStatus, API_ElemCategory_RenovationStatus, "Renovation Status",
	               {CategoryValue(defaults.existing, "Existing"),
	                CategoryValue(defaults.toBeDemolished, "To Be Demolished"),
	                CategoryValue(defaults.newlyBuilt, "New")},
	               {});
}

HostControl::Param LengthParam(const char* name, double value, Int16 index)
{
	HostControl::Param param{{}, std::nullopt};
	param.record.typeID = APIParT_Length;
	param.record.typeMod = API_ParSimple;
	param.record.index = index;
	std::strncpy(param.record.name, name, sizeof(param.record.name) - 1);
	GS::UniString(name).CopyUStr(param.record.uDescname, sizeof(param.record.uDescname) / sizeof(GS::UniChar));
	param.record.value.real = value;
	return param;
}

HostControl::Param LengthArrayParam(const char* name, const std::vector<double>& values, Int16 index)
{
	HostControl::Param param = LengthParam(name, 0.0, index);
	param.record.typeMod = API_ParArray;
	param.record.dim1 = static_cast<Int32>(values.size());
	param.record.dim2 = 1;
	const char* bytes = reinterpret_cast<const char*>(values.data());
	param.arrayValue = std::vector<char>(bytes, bytes + values.size() * sizeof(double));
	return param;
}

std::vector<HostControl::Param> DoorParams()
{
	return {LengthParam("A", 0.9, 0), LengthParam("B", 2.1, 1), LengthArrayParam("leafWidths", {0.45, 0.45}, 2)};
}

std::vector<HostControl::Param> WindowParams()
{
	return {LengthParam("A", 1.2, 0), LengthParam("B", 1.5, 1), LengthParam("sillDepth", 0.05, 2)};
}

struct LibraryIndices {
	Int32 door;
	Int32 window;
};

LibraryIndices DefineLibrary(const HostControl::DefaultProject& defaults)
{
	using namespace HostControl;
	LibraryIndices indices;
	indices.door = AddLibraryPart({defaults.doorPart, FixedGuid(101), "Door", 0.9, 2.1, DoorParams()});
	indices.window = AddLibraryPart({defaults.windowPart, FixedGuid(102), "Window", 1.2, 1.5, WindowParams()});
	UInt8 number = 1;
	for (const API_Guid& niche : defaults.nichePart) {
		AddLibraryPart({niche,
		                FixedGuid(static_cast<UInt8>(110 + number)),
		                "Niche " + std::to_string(number),
		                1.0,
		                2.0,
		                {LengthParam("A", 1.0, 0), LengthParam("B", 2.0, 1)}});
		++number;
	}
	return indices;
}

API_Element ToolRecord(API_ElemTypeID type)
{
	API_Element record;
	std::memset(static_cast<void*>(&record), 0, sizeof(record));
	record.header.type = ElemType(type);
	return record;
}

// Every tool gets its class's classification item and a value of each category that applies to it.
void SetToolClassAndCategories(API_ElemTypeID type, const API_Guid& item, std::map<API_Guid, API_Guid> categoryValues)
{
	const HostControl::DefaultProject& defaults = Defaults();
	categoryValues[defaults.renovationStatus] = defaults.newlyBuilt;
	HostControl::SetToolPCC(ElemType(type), {{}, {{defaults.classificationSystem, item}}, categoryValues});
}

void DefineTools(const HostControl::DefaultProject& defaults, const LibraryIndices& library)
{
	API_Element wall = ToolRecord(API_WallID);
	wall.wall.zoneRel = APIZRel_Boundary;
	wall.wall.thickness = 0.2;
	wall.wall.height = 3.0;
	HostControl::DefineTool(wall);
	SetToolClassAndCategories(
	    API_WallID, defaults.wallItem,
	    {{defaults.structuralFunction, defaults.loadBearing}, {defaults.position, defaults.exterior}});

	API_Element slab = ToolRecord(API_SlabID);
	slab.slab.thickness = 0.2;
	slab.slab.referencePlaneLocation = APISlabRefPlane_Top;
	HostControl::DefineTool(slab);
	SetToolClassAndCategories(
	    API_SlabID, defaults.slabItem,
	    {{defaults.structuralFunction, defaults.loadBearing}, {defaults.position, defaults.interior}});

	API_Element column = ToolRecord(API_ColumnID);
	column.column.zoneRel = APIZRel_Boundary;
	column.column.nSegments = 1;
	column.column.height = 3.0;
	HostControl::MemoParts columnMemo;
	API_ColumnSegmentType segment = {};
	segment.nominalWidth = 0.3;
	segment.nominalDepth = 0.3;
	columnMemo.columnSegments = std::vector<API_ColumnSegmentType>{segment};
	HostControl::DefineTool(column, columnMemo);
	SetToolClassAndCategories(
	    API_ColumnID, defaults.columnItem,
	    {{defaults.structuralFunction, defaults.loadBearing}, {defaults.position, defaults.interior}});

	struct Opening {
		API_ElemTypeID type;
		Int32 libInd;
		double width;
		double height;
		double lower;
		API_Guid item;
		API_Guid position;
		std::vector<HostControl::Param> params;
	};
	for (const Opening& opening :
	     {Opening{API_DoorID, library.door, 0.9, 2.1, 0.0, defaults.doorItem, defaults.interior, DoorParams()},
	      Opening{API_WindowID, library.window, 1.2, 1.5, 0.9, defaults.windowItem, defaults.exterior,
	              WindowParams()}}) {
		API_Element record = ToolRecord(opening.type);
		record.door.openingBase.libInd = opening.libInd;
		record.door.openingBase.width = opening.width;
		record.door.openingBase.height = opening.height;
		record.door.lower = opening.lower;
		HostControl::MemoParts memo;
		memo.params = opening.params;
		HostControl::DefineTool(record, memo);
		SetToolClassAndCategories(opening.type, opening.item, {{defaults.position, opening.position}});
	}
}

} // namespace

namespace Sim {

void BuildDefaultProject()
{
	const HostControl::DefaultProject& defaults = Defaults();
	DefineProperties(defaults);
	DefineClassifications(defaults);
	DefineCategories(defaults);
	DefineTools(defaults, DefineLibrary(defaults));
}

} // namespace Sim

namespace HostControl {

const DefaultProject& Defaults()
{
	static const DefaultProject defaults = MakeDefaults();
	return defaults;
}

} // namespace HostControl
