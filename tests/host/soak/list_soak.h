// A seeded soak of PropertyList: random calls of its whole interface with
// valid and hostile arguments, real mouse and keyboard input, and host
// handlers that misbehave on purpose, each step checked against a plain
// model of the rows; at the end every control must be gone and the
// library's GDI objects and the thread's windows back to their counts.
#pragma once

#include "tests/host/soak/soak_journal.h"

namespace zo::test {

[[nodiscard]] SoakReport RunListSoak(const SoakOptions& options);

}  // namespace zo::test
