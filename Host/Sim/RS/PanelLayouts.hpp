// Layout resources of panels: "[layout ID]" sections in the add-on's resource
// files with "title = text", "size = width height" and one line per item:
// "number = Class | left top width height | text | icon".
#pragma once

#include <map>
#include <string>

#include "GS/Types.hpp"

namespace Sim {

struct Rect {
	short left = 0;
	short top = 0;
	short width = 0;
	short height = 0;
};

struct LayoutItem {
	std::string kind; // Button, IconButton, CheckBox, Separator, ListBox, TreeView or StaticText
	Rect rect;
	std::string text;
	std::string icon;
};

struct PanelLayout {
	std::string title;
	short width = 0;
	short height = 0;
	std::map<short, LayoutItem> items; // by item number
};

// Reads one "key = value" line of a layout section; a malformed line is skipped.
void AddLayoutEntry(PanelLayout& layout, const std::string& key, const std::string& value);

// The layout of the module; null when it has none of that ID.
const PanelLayout* FindPanelLayout(GSResModule module, short resId);

} // namespace Sim
