#include "demo/owner_draw_sink.h"

#include "common/handles.h"
#include "common/twips.h"
#include "demo/dispatch_sink.h"

namespace zo::demo {

namespace {

constexpr DISPID kCommitEdit = PROPOWNERDRAW_DISPID_COMMITEDIT;
constexpr DISPID kDrawItem = PROPOWNERDRAW_DISPID_DRAWITEM;
constexpr DISPID kHideEditor = PROPOWNERDRAW_DISPID_HIDEEDITOR;
constexpr DISPID kShowEditor = PROPOWNERDRAW_DISPID_SHOWEDITOR;

// Argument `index` in declaration order, read as a Long whether it came by
// value or by reference.
long LongArgument(const DISPPARAMS& params, UINT index) {
    if (index >= params.cArgs) return 0;
    unique_variant value, number;
    if (FAILED(::VariantCopyInd(&value, &params.rgvarg[params.cArgs - 1 - index])) ||
        FAILED(::VariantChangeType(&number, &value, 0, VT_I4)))
        return 0;
    return V_I4(&number);
}

class OwnerDrawSink final : public DispatchSink<IPropOwnerDrawSink> {
public:
    explicit OwnerDrawSink(OwnerDrawnRows& rows) noexcept : DispatchSink(IID_IPropOwnerDrawSink), m_rows(rows) {}

    // The list's calls arrive here, by DISPID.
    STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* params, VARIANT* result, EXCEPINFO*,
                        UINT*) noexcept override {
        if (result) ::VariantInit(result);
        if (!params || (params->cArgs && !params->rgvarg)) return E_INVALIDARG;
        try {
            switch (id) {
                case kCommitEdit: m_rows.CommitRowEditor(); return S_OK;
                case kHideEditor: m_rows.HideRowEditor(); return S_OK;
                case kDrawItem: return Draw(*params);
                case kShowEditor: return Show(*params);
                default: return DISP_E_MEMBERNOTFOUND;
            }
        } catch (...) {
            return E_UNEXPECTED;  // no exception may cross into the control
        }
    }

    // The vtable, for C++ callers; the list itself never calls through it.
    STDMETHODIMP CommitEdit(BSTR) noexcept override { return Guard([&] { m_rows.CommitRowEditor(); }); }
    STDMETHODIMP HideEditor(BSTR) noexcept override { return Guard([&] { m_rows.HideRowEditor(); }); }
    STDMETHODIMP DrawItem(BSTR, short* index, VARIANT_BOOL selected, LONG* dc, LONG left, LONG* top, LONG* right,
                          LONG* bottom) noexcept override {
        if (!index || !dc || !top || !right || !bottom) return E_POINTER;
        return Guard([&] {
            m_rows.DrawRow(reinterpret_cast<HDC>(static_cast<LONG_PTR>(*dc)), *index, selected != VARIANT_FALSE,
                           RECT{left, *top, *right, *bottom});
        });
    }
    STDMETHODIMP ShowEditor(BSTR, short* index, LONG left, LONG top, LONG width, LONG height) noexcept override {
        if (!index) return E_POINTER;
        return Guard([&] { m_rows.ShowRowEditor(*index, CellInPixels(left, top, width, height)); });
    }

private:
    ~OwnerDrawSink() = default;

    template <typename Action>
    static HRESULT Guard(Action&& action) noexcept {
        try {
            action();
            return S_OK;
        } catch (...) {
            return E_UNEXPECTED;
        }
    }

    // DrawItem(Name, ItemIndex, Selected, hDC, Left, Top, Right, Bottom).
    HRESULT Draw(const DISPPARAMS& params) {
        if (params.cArgs < 8) return DISP_E_BADPARAMCOUNT;
        // The device context travels as a Long: a handle's value, which GDI keeps within 32 bits.
        const auto dc = reinterpret_cast<HDC>(static_cast<LONG_PTR>(LongArgument(params, 3)));
        const RECT row{LongArgument(params, 4), LongArgument(params, 5), LongArgument(params, 6),
                       LongArgument(params, 7)};
        m_rows.DrawRow(dc, static_cast<int>(LongArgument(params, 1)), LongArgument(params, 2) != 0, row);
        return S_OK;
    }

    // ShowEditor(Name, ItemIndex, Left, Top, Width, Height), in twips.
    HRESULT Show(const DISPPARAMS& params) {
        if (params.cArgs < 6) return DISP_E_BADPARAMCOUNT;
        m_rows.ShowRowEditor(static_cast<int>(LongArgument(params, 1)),
                             CellInPixels(LongArgument(params, 2), LongArgument(params, 3), LongArgument(params, 4),
                                          LongArgument(params, 5)));
        return S_OK;
    }

    // The control converts with whole twips per pixel; converting back the
    // same way puts the editor exactly on the cell at every DPI. A Long in
    // twips always fits, so the conversion cannot overflow.
    static RECT CellInPixels(long left, long top, long width, long height) {
        const int x = PixelsFromTwipsX(left), y = PixelsFromTwipsY(top);
        return {x, y, x + PixelsFromTwipsX(width), y + PixelsFromTwipsY(height)};
    }

    OwnerDrawnRows& m_rows;
};

}  // namespace

com_ptr<IPropOwnerDrawSink> CreateOwnerDrawSink(OwnerDrawnRows& rows) {
    return com_ptr<IPropOwnerDrawSink>::attach(new OwnerDrawSink(rows));
}

}  // namespace zo::demo
