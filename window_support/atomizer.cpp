#include "window_support/atomizer.h"

#include <memory>
#include <mutex>

#include "runtime/module.h"

namespace zo {

namespace {

// Two copies of the library loaded side by side (or one unloaded and loaded
// again) must not share the name: the object's address and the module's
// instance handle together make it unique.
std::wstring AtomNameFor(const void* object) {
    return std::to_wstring(reinterpret_cast<std::uintptr_t>(object)) +
           std::to_wstring(reinterpret_cast<std::uintptr_t>(ModuleInstance()));
}

struct SharedAtomizer {
    std::mutex lock;
    std::unique_ptr<Atomizer> atomizer;
};

SharedAtomizer& Shared() noexcept {
    static SharedAtomizer shared;
    return shared;
}

}  // namespace

Atomizer::Atomizer() noexcept {
    try {
        m_atom = ::GlobalAddAtomW(AtomNameFor(this).c_str());
    } catch (...) {
        m_atom = 0;
    }
}

Atomizer::~Atomizer() {
    // Global atoms outlive the process: delete ours, or the table keeps it.
    if (m_atom) ::GlobalDeleteAtom(m_atom);
}

std::wstring Atomizer::PropertyName() const { return std::to_wstring(Value()); }

const Atomizer& LibraryAtomizer() {
    SharedAtomizer& shared = Shared();
    std::lock_guard<std::mutex> guard(shared.lock);
    if (!shared.atomizer) shared.atomizer = std::make_unique<Atomizer>();
    return *shared.atomizer;
}

void ReleaseLibraryAtomizer() noexcept {
    SharedAtomizer& shared = Shared();
    std::unique_ptr<Atomizer> gone;
    {
        std::lock_guard<std::mutex> guard(shared.lock);
        gone = std::move(shared.atomizer);
    }
}

}  // namespace zo
