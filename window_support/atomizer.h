// Atomizer: one global atom, unique to this loaded library, whose signed decimal value names window properties.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>

namespace zo {

// Adds a global atom named after the object's address and the module's
// instance handle, and deletes it when the object ends.
class Atomizer {
public:
    Atomizer() noexcept;
    // The name depends on the object's address: neither copied nor moved.
    Atomizer(const Atomizer&) = delete;
    Atomizer& operator=(const Atomizer&) = delete;
    ~Atomizer();

    // The atom as a signed 16-bit number widened to 32 bits: string atoms
    // (0xC000 to 0xFFFF) read -16384 to -1. 0 when the atom could not be added.
    [[nodiscard]] std::int32_t Value() const noexcept { return ValueOf(m_atom); }
    [[nodiscard]] ATOM Atom() const noexcept { return m_atom; }
    // The decimal text of Value, minus sign included: the property name.
    [[nodiscard]] std::wstring PropertyName() const;

    [[nodiscard]] static constexpr std::int32_t ValueOf(ATOM atom) noexcept {
        return static_cast<std::int16_t>(atom);
    }

private:
    ATOM m_atom = 0;
};

// The library's shared Atomizer, created the first time it is asked for.
[[nodiscard]] const Atomizer& LibraryAtomizer();
// Deletes the shared atom; called when the library unloads. A later
// LibraryAtomizer() adds a new one.
void ReleaseLibraryAtomizer() noexcept;

}  // namespace zo
