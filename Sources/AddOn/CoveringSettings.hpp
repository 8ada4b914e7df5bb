// The settings of a covering run: for each kind of element the add-on makes,
// whether it is made and from which element settings, plus the run-wide
// switches. The records are plain values: a copy owns copies of every list and
// of every memory handle of the library-part parameters.
#pragma once

#include "API/Elements.hpp"
#include "API/Properties.hpp"
#include "GS/Array.hpp"
#include "GS/Channel.hpp"
#include "GS/Optional.hpp"
#include "GS/UniString.hpp"
#include "ParamsMemo.hpp"

// Tells the two slab coverings apart; only CeilingCovering is ever tested for,
// so any other value is a floor covering.
enum SlabCovType : Int16 { CeilingCovering = 1, FloorCovering = 2 };

inline bool IsCeilingCovering(SlabCovType type)
{
	return type == CeilingCovering;
}

// The settings of one kind of element: a wall covering, a door or window hole,
// a ceiling or a floor covering.
class ElementCovSettings {
public:
	ElementCovSettings();
	ElementCovSettings(const ElementCovSettings& source) = default;
	ElementCovSettings& operator=(const ElementCovSettings& source) = default;
	virtual ~ElementCovSettings() = default;

	GSErrCode Write(GS::OChannel& channel) const;
	GSErrCode Read(GS::IChannel& channel);

	bool operator==(const ElementCovSettings& other) const;

	bool enabled = false;
	API_Element toolElement; // all bytes zero by default
	// Library-part parameters; present only in the door-hole and window-hole settings.
	GS::Optional<ParamsMemo> memo;
	GS::Array<API_Property> properties;
	GS::Array<GS::Pair<API_Guid, API_Guid>> classifications; // classification system, item
	GS::Array<API_ElemCategoryValue> categoryValues;
	// True: elements come from the host favorite favoriteName; false: from
	// toolElement, memo and the three lists.
	bool useFavorite = false;
	GS::UniString favoriteName;
};

class WallCovSettings : public ElementCovSettings {
public:
	~WallCovSettings() override = default;

	bool columnCoverings = false; // also cover column faces on zone edges without a wall covering
	bool innerContours = false;   // also cover along the holes of the zone polygon
	ElementCovSettings doorHoles;
	ElementCovSettings windowHoles;
};

class SlabCovSettings : public ElementCovSettings {
public:
	~SlabCovSettings() override = default;

	bool insets = false; // the slab outline takes in the zone's door niches
};

class CoveringSettings {
public:
	GSErrCode Write(GS::OChannel& channel) const;
	GSErrCode Read(GS::IChannel& channel);
	// After a copy into this record: NoError, or the memory error of a memo
	// that holds only part of its source.
	GSErrCode CopyResult() const;

	WallCovSettings wall;
	SlabCovSettings ceiling;                  // made as SlabCovType CeilingCovering
	SlabCovSettings floor;                    // made as SlabCovType FloorCovering
	API_Guid timestampProperty = APINULLGuid; // receives the run's time text; null: none
	bool showSummary = false;
};

// The defaults beneath a stored palette state: what an older stored version
// lacks keeps these values.
CoveringSettings PaletteDefaultSettings();
// The palette's state when there is nothing stored to show.
CoveringSettings ClearedPaletteSettings();

// The palette state as stored in the project.
class PaletteSettings {
public:
	enum PaletteSettingsVersion : Int16 {
		Version2 = 2,
		Version3 = 3,
		Version4 = 4,
		Version5 = 5,
		Version6 = 6,
		CurrentVersion = Version6
	};

	PaletteSettings(); // with PaletteDefaultSettings()

	// Writes the current version.
	GSErrCode Write(GS::OChannel& channel) const;
	// Reads versions 2 to 6; any other version gives ErrIO and reads nothing more.
	GSErrCode Read(GS::IChannel& channel);

	CoveringSettings coveringSettings;

private:
	GSErrCode ReadOlder(GS::IChannel& channel, PaletteSettingsVersion version);
};
