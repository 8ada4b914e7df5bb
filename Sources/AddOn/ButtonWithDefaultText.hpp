// A settings button of the palette: it shows the name of the favorite that its
// covering kind uses, or the text that the layout gave it.
#pragma once

#include "CoveringSettings.hpp"
#include "DG/Items.hpp"

class ButtonWithDefaultText : public DG::Button {
public:
	ButtonWithDefaultText(const DG::Panel& panel, short item) : DG::Button(panel, item), defaultText(GetText()) {}
	~ButtonWithDefaultText() override = default;

	void ShowKind(const ElementCovSettings& kind) { SetText(kind.useFavorite ? kind.favoriteName : defaultText); }

	const GS::UniString defaultText;
};
