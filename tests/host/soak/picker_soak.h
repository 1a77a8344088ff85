// The colour-picking soak: a ZoColorPicker hosted on its own, and a
// PropertyList whose colour rows pop up the colour form, driven in turns
// through long random sequences from one seed. Every public member is called
// with valid and invalid arguments, real mouse and key messages go to random
// places, and the host's event handlers misbehave on purpose (call back in,
// fail, release the control). After every step the controls' observable
// state is compared with a small model; at the end every hosted control must
// have gone and the library's GDI objects and the thread's windows must be
// back at their starting counts.
#pragma once

#include "tests/host/soak/soak_journal.h"

namespace zo::test {

// On failure the report's last entry is the journal's replay: the seed, the
// step and the steps that led there.
[[nodiscard]] SoakReport RunPickerSoak(const SoakOptions& options);

}  // namespace zo::test
