// Modal alerts of the host's dialog library; each returns the number (1 to 3)
// of the button the user pressed.
#pragma once

#include "GS/UniString.hpp"

namespace DG {

// Shows alert resource alertId of the module with p1 .. p4 in its places ^1 .. ^4.
short Alert(GSResModule module, short alertId, const GS::UniString& p1, const GS::UniString& p2,
            const GS::UniString& p3, const GS::UniString& p4);
short InformationAlert(const GS::UniString& largeText, const GS::UniString& smallText, const GS::UniString& button1,
                       const GS::UniString& button2, const GS::UniString& button3);
short ErrorAlert(const GS::UniString& largeText, const GS::UniString& smallText, const GS::UniString& button1,
                 const GS::UniString& button2, const GS::UniString& button3);

} // namespace DG
