// The inspector wiring: fills the PropertyList with one row per property of
// the shape, and answers the list's events: ValueChanged applies a change to
// the shape at once (or refuses it with Cancel and says why), NeedData fills
// the list rows, Browse picks a picture file, and the owner-draw sink draws
// and edits the "Border width" row.
#pragma once

#include <windows.h>
#include <oaidl.h>

#include <deque>
#include <optional>
#include <string>
#include <string_view>

#include "common/com_ptr.h"
#include "demo/border_width_row.h"
#include "demo/control_events.h"
#include "demo/owner_draw_sink.h"
#include "demo/shape_model.h"

namespace zo::demo {

class EventLog;
class ShapeView;
class StatusLine;

// The windows and objects the inspector works with; all outlive it.
struct InspectorParts {
    HWND frame = nullptr;
    IDispatch* list = nullptr;
    HWND listWindow = nullptr;
    ShapeModel* model = nullptr;
    ShapeView* view = nullptr;
    EventLog* log = nullptr;
    StatusLine* status = nullptr;
    BorderWidthRow* borderWidth = nullptr;
};

class Inspector final : public ControlEventHandler, public OwnerDrawnRows {
public:
    explicit Inspector(const InspectorParts& parts) noexcept : m_parts(parts) {}

    // Hands the list the owner-draw sink, adds the rows and selects the first property.
    void Fill();  // throws DemoError
    // Lets the list's sink go; the list keeps no reference to the inspector after this.
    void Detach() noexcept;

    // With a script playing, Browse takes the next queued answer instead of
    // opening the file dialog (none queued: the value stays).
    void UseScriptedBrowsing() noexcept { m_scripted = true; }
    void QueueBrowseAnswer(std::wstring path) { m_browseAnswers.push_back(std::move(path)); }

    [[nodiscard]] long RowIndexOf(std::wstring_view name) const noexcept;
    [[nodiscard]] long SelectedRow() const;

    // Keys for the owner-drawn row: Enter, F4 or Space open its editor. True when used.
    [[nodiscard]] bool PreTranslateKey(const MSG& message) noexcept;
    // Notifications of the border width editor, sent to the frame.
    void OnEditorNotification(WORD code) noexcept;

    void OnControlEvent(const ControlEvent& event, const std::wstring& description) override;

    void DrawRow(HDC dc, int index, bool selected, const RECT& row) override;
    void ShowRowEditor(int index, const RECT& cell) override;
    void HideRowEditor() override;
    void CommitRowEditor() override;

private:
    void OnValueChanged(const ControlEvent& event);
    void OnNeedData(const ControlEvent& event);
    void OnBrowse(const ControlEvent& event);
    [[nodiscard]] std::optional<std::wstring> ApplyChange(const std::wstring& name, const std::wstring& value);
    [[nodiscard]] std::optional<std::wstring> AskForPicture();
    void CommitChosenWidth();
    [[nodiscard]] std::wstring RowName(long index) const;

    InspectorParts m_parts;
    com_ptr<IPropOwnerDrawSink> m_sink;
    int m_dividerPx = 0;
    bool m_scripted = false;
    std::deque<std::wstring> m_browseAnswers;
    std::wstring m_pictureFolder = L".";  // where the last picture was chosen
};

}  // namespace zo::demo
