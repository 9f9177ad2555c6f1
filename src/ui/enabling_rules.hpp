#pragma once
// Which meter and fluid controls a user may touch, by the calculation state's meter and fluid
// kind. Applied to whichever page shows those controls; a control the page lacks is skipped.
#include <QString>

namespace qmx::ui {

class Page;

// Applies the rules to the page's controls (found by object name). For the AGA-3 orifices the
// tap type is set to "Flange" in the calculation state (the page's changed flag is set when that
// changes it); for every meter but the ISO orifice the tap list shows "Flange", disabled.
void ApplyEnablingRules(Page& page);

// The caption of the throat diameter by meter ("Orifice diameter", "Probe width", ...).
QString ThroatCaption(int meter);
// The caption of the throat material list by meter ("Plate material", "Strut material", ...).
QString MaterialCaption(int meter);

}  // namespace qmx::ui
