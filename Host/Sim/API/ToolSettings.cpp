#include "API/ToolSettings.hpp"
#include "Sim/API/AddOnHost.hpp"
#include "Sim/API/ElementSettings.hpp"
#include "Sim/Control/Faults.hpp"

namespace {

// Without a script the user accepts the dialog as it opened.
Sim::ToolDialogAnswer NextToolDialogAnswer()
{
	auto& answers = Sim::AddOnHost().toolDialogAnswers;
	if (answers.empty())
		return {true, nullptr, std::nullopt};
	Sim::ToolDialogAnswer answer = answers.front();
	answers.pop_front();
	return answer;
}

void ApplyEdits(const Sim::ToolDialogAnswer& answer, Sim::StoredTool& tool)
{
	if (answer.edit) {
		API_Elem_Head head = tool.record.header;
		answer.edit(tool.record);
		tool.record.header = head; // the dialog edits settings, never which tool it is
	}
	if (answer.pcc.has_value())
		tool.pcc = *answer.pcc;
}

} // namespace

GSErrCode ACAPI_Dialog_SettingsDialog(API_ToolBoxItem* toolBoxItem, API_Guid* elemGuid)
{
	if (GSErrCode fault = Sim::EnterCall("ACAPI_Dialog_SettingsDialog"); fault != NoError)
		return fault;
	// Only the tool defaults' dialog is offered, not an element's.
	if (toolBoxItem == nullptr || elemGuid != nullptr)
		return APIERR_BADPARS;
	Sim::StoredTool* tool = Sim::FindTool(toolBoxItem->type);
	if (tool == nullptr)
		return APIERR_BADELEMENTTYPE;
	Sim::ToolDialogAnswer answer = NextToolDialogAnswer();
	Sim::AddOnHost().toolDialogsShown.push_back({toolBoxItem->type, tool->record, tool->pcc, answer.accept});
	if (!answer.accept)
		return APIERR_CANCEL;
	ApplyEdits(answer, *tool);
	return NoError;
}
