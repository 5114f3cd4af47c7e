// Dragging in the frame strip: frames dragged to a new place, files dragged
// in from outside, the insertion marker both show, and scrolling near the
// edges while a drag goes on.
#include "window/thumbnailctrl.h"
#include "window/thumbnaildrop.h"

#include <wx/dc.h>
#include <wx/settings.h>

#include <algorithm>
#include <cstdlib>

namespace {
// The band along the top and bottom edges where a drag scrolls, and how
// often it scrolls while the pointer rests there.
constexpr int kAutoScrollBand = 24;
constexpr int kAutoScrollIntervalMs = 50;
constexpr int kMarkerWidth = 3;
const wxColour kMarkerColour(200, 0, 0);
} // namespace

int wxThumbnailCtrl::GapAtPoint(const wxPoint& point) const
{
    return GridGapAt(GetGrid(), GetClientSize().x, GetCount(), CalcUnscrolledPosition(point));
}

void wxThumbnailCtrl::SetInsertionMarker(int gap)
{
    const int marker = gap >= 0 && gap <= GetCount() ? gap : -1;
    if (marker == m_insertionGap)
        return;
    m_insertionGap = marker;
    if (!IsLayoutFrozen())
        Refresh(false);
}

void wxThumbnailCtrl::PaintInsertionMarker(wxDC& dc)
{
    const int count = GetCount();
    if (m_insertionGap < 0 || m_insertionGap > count)
        return;
    wxRect cell;
    int x = m_spacing / 2;
    int top = m_spacing;
    if (count > 0) {
        const bool after = m_insertionGap == count;
        cell = GridCellRect(GetGrid(), after ? count - 1 : m_insertionGap, GetClientSize().x);
        x = after ? cell.GetRight() + 1 + m_spacing / 2 : cell.x - (m_spacing + 1) / 2;
        top = cell.y;
    }
    dc.SetPen(*wxTRANSPARENT_PEN);
    dc.SetBrush(wxBrush(kMarkerColour));
    dc.DrawRectangle(x - kMarkerWidth / 2, top, kMarkerWidth, count > 0 ? cell.height : m_cellHeight);
}

void wxThumbnailCtrl::AutoScrollNear(const wxPoint& point)
{
    const int height = GetClientSize().y;
    int step = 0;
    if (point.y < kAutoScrollBand)
        step = -1;
    else if (point.y >= height - kAutoScrollBand)
        step = 1;
    m_autoScrollStep = step;
    if (step == 0)
        StopAutoScroll();
    else if (!m_autoScrollTimer.IsRunning())
        m_autoScrollTimer.Start(kAutoScrollIntervalMs);
}

void wxThumbnailCtrl::StopAutoScroll()
{
    m_autoScrollStep = 0;
    m_autoScrollTimer.Stop();
}

void wxThumbnailCtrl::OnAutoScrollTimer(wxTimerEvent&)
{
    if (m_autoScrollStep == 0) {
        StopAutoScroll();
        return;
    }
    int x = 0;
    int y = 0;
    GetViewStart(&x, &y);
    Scroll(-1, std::max(0, y + m_autoScrollStep));
    // The marker follows the pointer over the rows that scroll under it.
    if (m_insertionGap >= 0)
        SetInsertionMarker(GapAtPoint(ScreenToClient(wxGetMousePosition())));
}

void wxThumbnailCtrl::OnMotion(wxMouseEvent& event)
{
    if (!event.LeftIsDown() || m_pressIndex < 0) {
        event.Skip();
        return;
    }
    const wxPoint point = event.GetPosition();
    if (!m_dragging) {
        const int slopX = std::max(wxSystemSettings::GetMetric(wxSYS_DRAG_X, this), 3);
        const int slopY = std::max(wxSystemSettings::GetMetric(wxSYS_DRAG_Y, this), 3);
        if (std::abs(point.x - m_pressPoint.x) < slopX && std::abs(point.y - m_pressPoint.y) < slopY)
            return;
        m_dragging = true;
        m_pressDeferredClick = false;
        if (!HasCapture())
            CaptureMouse();
    }
    SetInsertionMarker(GapAtPoint(point));
    AutoScrollNear(point);
}

void wxThumbnailCtrl::OnLeftUp(wxMouseEvent& event)
{
    const int pressed = m_pressIndex;
    const bool deferredClick = m_pressDeferredClick;
    const bool dragged = m_dragging;
    const int gap = dragged ? GapAtPoint(event.GetPosition()) : -1;
    EndFrameDrag();
    if (dragged) {
        SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_MOVE_SELECTION, gap, 0);
    } else if (deferredClick && IsValidIndex(pressed)) {
        // A press on a selected frame that did not become a drag is a click after all.
        ApplyClickSelection(pressed, 0);
        SendThumbnailEvent(wxEVT_COMMAND_THUMBNAIL_LEFT_CLICK, pressed, 0);
    }
    event.Skip();
}

void wxThumbnailCtrl::OnCaptureLost(wxMouseCaptureLostEvent&)
{
    EndFrameDrag();
}

void wxThumbnailCtrl::EndFrameDrag()
{
    m_pressIndex = -1;
    m_pressDeferredClick = false;
    m_dragging = false;
    StopAutoScroll();
    SetInsertionMarker(-1);
    if (HasCapture())
        ReleaseMouse();
}

wxDragResult wxThumbnailFileDropTarget::OnDragOver(wxCoord x, wxCoord y, wxDragResult defaultResult)
{
    const wxPoint point(x, y);
    m_strip->SetInsertionMarker(m_strip->GapAtPoint(point));
    m_strip->AutoScrollNear(point);
    return defaultResult;
}

void wxThumbnailFileDropTarget::OnLeave()
{
    m_strip->StopAutoScroll();
    m_strip->SetInsertionMarker(-1);
}

bool wxThumbnailFileDropTarget::OnDropFiles(wxCoord x, wxCoord y, const wxArrayString& files)
{
    const int gap = m_strip->GapAtPoint(wxPoint(x, y));
    OnLeave();
    wxThumbnailEvent event(wxEVT_COMMAND_THUMBNAIL_FILES_DROPPED, m_strip->GetId());
    event.SetEventObject(m_strip);
    event.SetItemIndex(gap);
    event.SetFiles(files);
    m_strip->GetEventHandler()->ProcessEvent(event);
    return event.IsAllowed();
}
