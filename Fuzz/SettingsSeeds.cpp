// Writes the fuzzer's seed streams into a directory: the palette state of every
// stored version, 2 to 6, each with its fields set away from the defaults.
#include <cstdio>
#include <fstream>
#include <string>

#include "CoveringSettings.hpp"
#include "GS/Channel.hpp"
#include "HostRecordStream.hpp"
#include "SettingsSamples.hpp"

namespace {

// The kinds of fields that the older versions store, in stored order.
enum class Field { Bool, Name, Element, Lists, Guid };
using Fields = std::vector<Field>;

const Fields version2 = {Field::Name, Field::Name, Field::Name, Field::Bool, Field::Name, Field::Bool, Field::Name};

Fields Version3()
{
	Fields fields = {Field::Bool};
	fields.insert(fields.end(), version2.begin(), version2.end());
	fields.push_back(Field::Bool);
	return fields;
}

// Versions 4 and 5: each kind as enabled, element, its lists from version 5 on,
// favorite switch and name; the holes as enabled and name only.
Fields Version4Or5(bool withLists)
{
	Fields kind = {Field::Bool, Field::Element};
	if (withLists)
		kind.push_back(Field::Lists);
	kind.insert(kind.end(), {Field::Bool, Field::Name});
	Fields fields = kind;
	fields.insert(fields.end(), withLists ? 2 : 1, Field::Bool); // inner contours from 5 on, column coverings
	fields.insert(fields.end(), {Field::Bool, Field::Name, Field::Bool, Field::Name});
	for (int slab = 0; slab < 2; ++slab)
		fields.insert(fields.end(), kind.begin(), kind.end());
	fields.insert(fields.end(), {Field::Bool, Field::Guid});
	if (withLists)
		fields.push_back(Field::Bool); // the summary
	return fields;
}

void WriteField(GS::OChannel& out, Field field, const ElementCovSettings& sample, std::size_t position)
{
	switch (field) {
	case Field::Bool:
		out.Write(position % 2 == 0);
		break;
	case Field::Name:
		Write(out, GS::UniString(("stored name " + std::to_string(position)).c_str()));
		break;
	case Field::Element:
		out.WriteBin(reinterpret_cast<const char*>(&sample.toolElement), sizeof(sample.toolElement));
		break;
	case Field::Lists:
		Write(out, sample.properties);
		Write(out, sample.classifications);
		Write(out, sample.categoryValues);
		break;
	case Field::Guid:
		Write(out, APIGuidFromString("82E29556-B1A4-42DD-B6A9-F495ADC2C1D8"));
		break;
	}
}

std::vector<char> OlderStream(Int16 version, const Fields& fields, const ElementCovSettings& sample)
{
	GS::MemoryOChannel32 out;
	out.Write(version);
	for (std::size_t i = 0; i < fields.size(); ++i)
		WriteField(out, fields[i], sample, i);
	return SettingsSamples::Bytes(out);
}

std::vector<char> CurrentStream()
{
	PaletteSettings palette;
	palette.coveringSettings = SettingsSamples::RichSettings();
	GS::MemoryOChannel32 out;
	palette.Write(out);
	return SettingsSamples::Bytes(out);
}

// A seed that the reader refuses would start the fuzzer off the stored format.
bool Save(const std::string& path, const std::vector<char>& bytes)
{
	PaletteSettings check;
	GS::MemoryIChannel32 in(bytes.data(), static_cast<USize>(bytes.size()));
	if (check.Read(in) != NoError) {
		std::fprintf(stderr, "The seed %s does not read\n", path.c_str());
		return false;
	}
	std::ofstream file(path, std::ios::binary);
	file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
	return static_cast<bool>(file);
}

} // namespace

int main(int argc, char** argv)
{
	if (argc != 2) {
		std::fprintf(stderr, "Usage: %s DIRECTORY\n", argv[0]);
		return 2;
	}
	const std::string directory = argv[1];
	CoveringSettings sample = SettingsSamples::RichSettings();
	bool saved = Save(directory + "/version2", OlderStream(2, version2, sample.wall)) &&
	             Save(directory + "/version3", OlderStream(3, Version3(), sample.wall)) &&
	             Save(directory + "/version4", OlderStream(4, Version4Or5(false), sample.wall)) &&
	             Save(directory + "/version5", OlderStream(5, Version4Or5(true), sample.wall)) &&
	             Save(directory + "/version6", CurrentStream());
	if (!saved) {
		std::fprintf(stderr, "Cannot write the seeds into %s\n", directory.c_str());
		return 1;
	}
	return 0;
}
