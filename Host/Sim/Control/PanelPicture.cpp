// An SVG picture of a panel from its items' states.
#include <sstream>

#include "DialogControl.hpp"

namespace HostControl {

namespace {

constexpr int titleHeight = 18;

std::string Escaped(const std::string& text)
{
	std::string result;
	for (char c : text) {
		switch (c) {
		case '&':
			result += "&amp;";
			break;
		case '<':
			result += "&lt;";
			break;
		case '>':
			result += "&gt;";
			break;
		case '"':
			result += "&quot;";
			break;
		default:
			result += c;
		}
	}
	return result;
}

void Label(std::ostream& svg, int x, int y, const std::string& text, const char* colour)
{
	svg << "<text x=\"" << x << "\" y=\"" << y << "\" fill=\"" << colour << "\">" << Escaped(text) << "</text>\n";
}

void Box(std::ostream& svg, const ItemState& item, int top, const char* fill, const char* stroke)
{
	svg << "<rect x=\"" << item.left << "\" y=\"" << top << "\" width=\"" << item.width << "\" height=\"" << item.height
	    << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\"/>\n";
}

void DrawItem(std::ostream& svg, const ItemState& item, bool greyed)
{
	const char* ink = greyed ? "#a0a0a0" : "#000000";
	int top = item.top + titleHeight;
	int baseline = top + item.height / 2 + 4;
	if (item.kind == "Separator") {
		svg << "<line x1=\"" << item.left << "\" y1=\"" << top << "\" x2=\"" << item.left + item.width << "\" y2=\""
		    << top << "\" stroke=\"#808080\"/>\n";
	} else if (item.kind == "CheckBox") {
		svg << "<rect x=\"" << item.left << "\" y=\"" << top + 2 << "\" width=\"12\" height=\"12\" fill=\"#ffffff\" "
		    << "stroke=\"" << ink << "\"/>\n";
		if (item.checked)
			svg << "<path d=\"M" << item.left + 2 << ' ' << top + 8 << " l3 4 l6 -9\" fill=\"none\" stroke=\"" << ink
			    << "\" stroke-width=\"2\"/>\n";
		Label(svg, item.left + 18, top + 13, item.text, ink);
	} else if (item.kind == "Button" || item.kind == "IconButton") {
		Box(svg, item, top, "#e8e8e8", ink);
		Label(svg, item.left + 6, baseline, item.kind == "Button" ? item.text : "\u2699", ink);
	} else if (item.kind == "ListBox" || item.kind == "TreeView") {
		Box(svg, item, top, "#ffffff", ink);
		int y = top + 14;
		for (const auto& row : item.rows)
			Label(svg, item.left + 4, y += 16, row.empty() ? std::string() : row.front(), ink);
		for (const TreeItemState& node : item.treeItems)
			Label(svg, item.left + (node.parent == 0 ? 4 : 20), y += 16, node.text, ink);
	} else {
		Label(svg, item.left, baseline, item.text, ink);
	}
}

} // namespace

std::string PanelPicture(const PanelState& panel)
{
	std::ostringstream svg;
	int height = panel.height + titleHeight;
	svg << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << panel.width << "\" height=\"" << height
	    << "\" font-family=\"sans-serif\" font-size=\"11\">\n";
	svg << "<rect width=\"" << panel.width << "\" height=\"" << height << "\" fill=\"#f4f4f4\" stroke=\"#606060\"/>\n";
	svg << "<rect width=\"" << panel.width << "\" height=\"" << titleHeight << "\" fill=\"#d0d0d0\"/>\n";
	Label(svg, 6, 13, panel.title, "#000000");
	for (const ItemState& item : panel.items)
		DrawItem(svg, item, panel.itemsDisabled || !item.enabled);
	svg << "</svg>\n";
	return svg.str();
}

} // namespace HostControl
