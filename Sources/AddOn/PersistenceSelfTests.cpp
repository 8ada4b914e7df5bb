#include "PersistenceSelfTests.hpp"

#include "API/Commands.hpp"
#include "API/ElementFunctions.hpp"
#include "CoveringSettings.hpp"
#include "ElementReading.hpp"
#include "SettingsEquality.hpp"

namespace {

// Reads the parameters of the project's first object into params. A project
// without objects is reported with a dialog, as the checks need one.
bool GetFirstObjectParams(ParamsMemo& params)
{
	GS::Array<API_Guid> objects;
	ACAPI_Element_GetElemList(API_ElemType{API_ObjectID, APIVarId_Generic, APINULLGuid}, &objects, 0, APINULLGuid);
	if (objects.IsEmpty()) {
		ACAPI_WriteReport("Need Some Object for Write/Read Params test!", true);
		return false;
	}
	API_Element object;
	return ReadElement(API_ZombieElemID, objects.GetFirst(), object) == NoError &&
	       ACAPI_Element_GetMemo(object.header.guid, &params.elementMemo, APIMemoMask_AddPars) == NoError;
}

void ReportResult(const char* checkName, bool passed)
{
	ACAPI_WriteReport(GS::UniString(checkName) + " %d", false, passed ? 1 : 0);
}

} // namespace

void RunAllTests()
{
	ACAPI_WriteReport("----- START Run tests -----", false);
	ReportResult("TestWriteReadEmptyPaletteSettings", TestWriteReadEmptyPaletteSettings());
	ReportResult("TestWriteReadAddParams", TestWriteReadAddParams());
	ReportResult("TestDeepCopyAddParams", TestDeepCopyAddParams());
	ACAPI_WriteReport("-----  END Run tests  -----", false);
}

bool TestWriteReadEmptyPaletteSettings()
{
	PaletteSettings written;
	GS::MemoryOChannel32 output;
	if (written.Write(output) != NoError)
		return false;
	PaletteSettings read;
	GS::MemoryIChannel32 input(output.GetDestination(), output.GetDataSize());
	return read.Read(input) == NoError && read.coveringSettings == written.coveringSettings;
}

bool TestWriteReadAddParams()
{
	ParamsMemo source;
	if (!GetFirstObjectParams(source))
		return false;
	GS::MemoryOChannel32 output;
	if (source.WriteParams(output) != NoError)
		return false;
	ParamsMemo read;
	GS::MemoryIChannel32 input(output.GetDestination(), output.GetDataSize());
	return read.ReadParams(input) == NoError && source == read;
}

bool TestDeepCopyAddParams()
{
	ParamsMemo source;
	if (!GetFirstObjectParams(source))
		return false;
	ParamsMemo copy;
	return copy.DeepCopy(source.elementMemo.params) == NoError && source == copy;
}
