#include "runtime/mouse_pointer.h"

#include "common/com_ptr.h"
#include "common/vb_error.h"

namespace zo {

namespace {

const wchar_t* StandardCursor(int16_t pointer) noexcept {
    switch (pointer) {
        case 1: return IDC_ARROW;
        case 2: return IDC_CROSS;
        case 3: return IDC_IBEAM;
        case 4: return IDC_ICON;
        case 5: case 15: return IDC_SIZEALL;
        case 6: return IDC_SIZENESW;
        case 7: return IDC_SIZENS;
        case 8: return IDC_SIZENWSE;
        case 9: return IDC_SIZEWE;
        case 10: return IDC_UPARROW;
        case 11: return IDC_WAIT;
        case 12: return IDC_NO;
        case 13: return IDC_APPSTARTING;
        case 14: return IDC_HELP;
        default: return nullptr;
    }
}

}  // namespace

void CheckMousePointer(int16_t pointer) {
    if ((pointer < 0 || pointer > 15) && pointer != kCustomMousePointer)
        throw VbError::Runtime(vb_error::kInvalidPropertyValue);
}

bool ApplyMousePointer(int16_t pointer, IPictureDisp* mouseIcon) noexcept {
    if (pointer == kCustomMousePointer) {
        com_ptr<IPicture> picture = com_ptr<IPictureDisp>(mouseIcon).query<IPicture>();
        OLE_HANDLE handle = 0;
        SHORT type = PICTYPE_NONE;
        if (!picture || FAILED(picture->get_Type(&type)) || type != PICTYPE_ICON ||
            FAILED(picture->get_Handle(&handle)) || !handle)
            return false;
        // Picture handles travel as 32-bit values; GDI handles sign-extend.
        ::SetCursor(reinterpret_cast<HCURSOR>(static_cast<LONG_PTR>(static_cast<LONG>(handle))));
        return true;
    }
    const wchar_t* cursor = StandardCursor(pointer);
    if (!cursor) return false;
    ::SetCursor(::LoadCursorW(nullptr, cursor));
    return true;
}

}  // namespace zo
