#include "PropertySelectionPopup.hpp"

#include "API/Properties.hpp"
#include "DG/Utils.hpp"
#include "RS/Resources.hpp"
#include "ResourceIDs.hpp"

namespace {

// Only a custom string of a single value can take the run's time text.
bool CanHoldTimestamp(const API_PropertyDefinition& definition)
{
	return definition.definitionType == API_PropertyCustomDefinitionType &&
	       definition.collectionType == API_PropertySingleCollectionType &&
	       definition.valueType == API_PropertyStringValueType;
}

} // namespace

PropertySelectionPopup::PropertySelectionPopup(const API_Guid& currentProperty, const DG::Item& anchor)
    : DG::ModalDialog(ACAPI_GetOwnResModule(), ID_DIALOG_PROPERTY, ACAPI_GetOwnResModule()), propertyTree(*this, 1),
      anchorItem(anchor), chosenPropertyGuid(currentProperty)
{
	Attach(static_cast<DG::PanelObserver&>(*this));
	AttachToAllItems(*this);
	SetPopupStyle();
}

PropertySelectionPopup::~PropertySelectionPopup()
{
	Detach(static_cast<DG::PanelObserver&>(*this));
	DetachFromAllItems(*this);
}

void PropertySelectionPopup::PanelOpened(const DG::PanelOpenEvent& event)
{
	if (event.GetSource() != this)
		return;
	DG::Utils::PlaceDialogNextToItem(this, &anchorItem, 0);
	InitPropertyTreeView();
}

void PropertySelectionPopup::InitPropertyTreeView()
{
	GS::Array<API_PropertyGroup> groups;
	if (ACAPI_Property_GetPropertyGroups(groups) != NoError)
		return;
	for (const API_PropertyGroup& group : groups) {
		if (group.groupType != API_PropertyCustomGroupType)
			continue;
		Int32 groupItem = propertyTree.AppendItem(0);
		propertyTree.SetItemText(groupItem, group.name);
		GS::Array<API_PropertyDefinition> definitions;
		ACAPI_Property_GetPropertyDefinitions(group.guid, definitions);
		for (const API_PropertyDefinition& definition : definitions) {
			if (!CanHoldTimestamp(definition))
				continue;
			Int32 propertyItem = propertyTree.AppendItem(groupItem);
			propertyTree.SetItemText(propertyItem, definition.name);
			// Selected before its entry exists, so that the preselection does not close the popup.
			if (definition.guid == chosenPropertyGuid)
				propertyTree.SelectItem(propertyItem);
			itemToProperty.Add(propertyItem, definition.guid);
		}
	}
	propertyTree.Redraw();
}

void PropertySelectionPopup::TreeViewSelectionChanged(const DG::TreeViewSelectionEvent& event)
{
	if (event.GetSource() != &propertyTree)
		return;
	const API_Guid* property = itemToProperty.GetPtr(propertyTree.GetSelectedItem(0));
	if (property == nullptr)
		return;
	chosenPropertyGuid = *property;
	PostCloseRequest(Accept);
}

void PropertySelectionPopup::PanelResized(const DG::PanelResizeEvent& event)
{
	short dx = event.GetHorizontalChange();
	short dy = event.GetVerticalChange();
	if (dx == 0 && dy == 0)
		return;
	BeginMoveResizeItems();
	propertyTree.Resize(dx, dy);
	EndMoveResizeItems();
}
