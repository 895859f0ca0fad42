// What each presenter of the window's form reaches: the form it belongs to, the controls, the
// state the presenters share, and the platform.
#pragma once

#include "form/controls.h"
#include "form/form_state.h"
#include "platform/platform.h"

namespace korvel {

class MainForm;

struct FormPart {
    MainForm& form;
    Controls& c;
    FormState& s;
    Platform& platform;
};

} // namespace korvel
