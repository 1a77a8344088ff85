// The container's ambient properties, read from the client site. A
// container that does not answer a property gets its standard default
// (UserMode True, DisplayName empty, Font the system's GUI font); only a
// control without any client site fails to read UserMode.
#pragma once

#include <ocidl.h>

#include <optional>
#include <string>

#include "common/com_ptr.h"
#include "common/handles.h"

namespace zo {

class Ambient {
public:
    void SetSite(com_ptr<IOleClientSite> site) noexcept { m_site = std::move(site); }
    [[nodiscard]] bool HasSite() const noexcept { return static_cast<bool>(m_site); }

    // Raises VbError 91 when there is no site to ask.
    [[nodiscard]] bool UserMode() const;
    [[nodiscard]] std::wstring DisplayName() const noexcept;
    // A new reference to the container's font object, or the default GUI font.
    [[nodiscard]] com_ptr<IFont> Font() const noexcept;

private:
    [[nodiscard]] std::optional<unique_variant> Read(DISPID dispid) const noexcept;
    com_ptr<IOleClientSite> m_site;
};

}  // namespace zo
