#include "window/thumbnaillayout.h"

#include <wx/defs.h>

#include <algorithm>

namespace {
// Integer division rounding toward minus infinity, for bands that start
// above the grid.
int FloorDiv(int a, int b)
{
    const int q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Guards the products of the fitted size against a floating-point result
// just below a whole number (303 * (80.0 / 303) is 79.999...).
constexpr double kFitEpsilon = 1e-9;
} // namespace

int GridColumns(const ThumbnailGrid& grid, int clientWidth)
{
    if (grid.ColumnPitch() <= 0)
        return 1;
    return std::max(1, clientWidth / grid.ColumnPitch());
}

int GridRowsPerPage(const ThumbnailGrid& grid, int clientHeight)
{
    if (grid.RowPitch() <= 0)
        return 1;
    return std::max(1, clientHeight / grid.RowPitch());
}

wxRect GridCellRect(const ThumbnailGrid& grid, int index, int clientWidth)
{
    const int columns = GridColumns(grid, clientWidth);
    const int row = index / columns;
    const int col = index % columns;
    return wxRect(grid.spacing + grid.ColumnPitch() * col, grid.spacing + grid.RowPitch() * row,
                  grid.cellWidth, grid.cellHeight);
}

int GridTotalHeight(const ThumbnailGrid& grid, int count, int clientWidth)
{
    if (count <= 0)
        return 0;
    const int lastRow = (count - 1) / GridColumns(grid, clientWidth);
    return grid.spacing + grid.RowPitch() * (lastRow + 1);
}

int GridIndexAt(const ThumbnailGrid& grid, int clientWidth, const wxPoint& scrolledPoint)
{
    if (scrolledPoint.x < 0 || scrolledPoint.y < 0 || grid.RowPitch() <= 0 ||
        grid.ColumnPitch() <= 0)
        return -1;
    const int row = scrolledPoint.y / grid.RowPitch();
    const int column = scrolledPoint.x / grid.ColumnPitch();
    return row * GridColumns(grid, clientWidth) + column;
}

int GridGapAt(const ThumbnailGrid& grid, int clientWidth, int count, const wxPoint& scrolledPoint)
{
    if (count <= 0 || grid.RowPitch() <= 0 || grid.ColumnPitch() <= 0)
        return 0;
    const int columns = GridColumns(grid, clientWidth);
    const int row = std::max(0, scrolledPoint.y) / grid.RowPitch();
    // Cell c's middle is at spacing + c * pitch + cellWidth / 2.
    const int column =
        std::clamp(FloorDiv(scrolledPoint.x - grid.spacing - grid.cellWidth / 2, grid.ColumnPitch()) + 1, 0,
                   columns);
    const long long gap = static_cast<long long>(row) * columns + column;
    return static_cast<int>(std::min<long long>(gap, count));
}

IndexRange GridIndexRangeInBand(const ThumbnailGrid& grid, int clientWidth, int count, int top,
                                int bottom)
{
    IndexRange range;
    if (count <= 0 || bottom <= top || grid.RowPitch() <= 0)
        return range;
    // Row r covers [spacing + r * pitch, spacing + r * pitch + cellHeight).
    const int pitch = grid.RowPitch();
    const int firstRow = std::max(0, FloorDiv(top - grid.spacing - grid.cellHeight, pitch) + 1);
    const int lastRow = FloorDiv(bottom - 1 - grid.spacing, pitch);
    if (lastRow < firstRow)
        return range;
    const int columns = GridColumns(grid, clientWidth);
    const long long first = static_cast<long long>(firstRow) * columns;
    const long long last = static_cast<long long>(lastRow) * columns + columns - 1;
    if (first >= count)
        return range;
    range.first = static_cast<int>(first);
    range.last = static_cast<int>(std::min<long long>(last, count - 1));
    return range;
}

wxRect PictureRectInCell(const wxRect& cell, const wxSize& thumbnail, int textHeight, int margin,
                         bool hasCaption)
{
    wxRect picture(cell.x + (cell.width - thumbnail.x) / 2,
                   cell.y + (cell.height - thumbnail.y) / 2, thumbnail.x, thumbnail.y);
    if (hasCaption)
        picture.y = cell.y + 2 * margin + textHeight;
    else
        picture.y -= textHeight / 2;
    return picture;
}

int KeyNavigationTarget(int keyCode, int current, int count, int columns, int rowsPerPage)
{
    const int page = rowsPerPage * columns;
    int target = -1;
    switch (keyCode) {
    case WXK_END:
        return count - 1;
    case WXK_HOME:
        return 0;
    case WXK_LEFT:
        target = current - 1;
        break;
    case WXK_UP:
        target = current - columns;
        break;
    case WXK_RIGHT:
        target = current + 1;
        break;
    case WXK_DOWN:
        target = current + columns;
        break;
    case WXK_PAGEUP:
        return std::max(0, current - page);
    case WXK_PAGEDOWN:
        return std::min(count - 1, current + page);
    default:
        return -1;
    }
    return target >= 0 && target < count ? target : -1;
}

ScrollOrder ScrollOrderForKey(int keyCode)
{
    switch (keyCode) {
    case WXK_RIGHT:
    case WXK_DOWN:
    case WXK_END:
    case WXK_PAGEDOWN:
        return ScrollOrder::BottomFirst;
    case WXK_LEFT:
    case WXK_UP:
    case WXK_HOME:
    case WXK_PAGEUP:
        return ScrollOrder::TopFirst;
    default:
        return ScrollOrder::None;
    }
}

int ScrollUnitsToShowCell(const wxRect& cell, int spacing, int viewTop, int clientHeight,
                          int pixelsPerUnit, ScrollOrder order)
{
    if (pixelsPerUnit <= 0 || order == ScrollOrder::None)
        return -1;
    const bool belowView = cell.GetBottom() + 1 > viewTop + clientHeight;
    const bool aboveView = cell.y < viewTop;
    const int alignBottom = (cell.y + cell.height + spacing - clientHeight) / pixelsPerUnit;
    const int alignTop = cell.y / pixelsPerUnit;
    if (order == ScrollOrder::BottomFirst) {
        if (belowView)
            return std::max(0, alignBottom);
        if (aboveView)
            return alignTop;
    } else {
        if (aboveView)
            return alignTop;
        if (belowView)
            return std::max(0, alignBottom);
    }
    return -1;
}

void RenumberSelectionForInsert(wxArrayInt& selection, int pos)
{
    for (int& entry : selection) {
        if (entry >= pos)
            ++entry;
    }
}

void RenumberSelectionForDelete(wxArrayInt& selection, int index)
{
    const int found = selection.Index(index);
    if (found != wxNOT_FOUND)
        selection.RemoveAt(static_cast<size_t>(found));
    for (int& entry : selection) {
        if (entry > index)
            --entry;
    }
}

wxString ThumbnailCaption(int index, long long startCs)
{
    return wxString::Format("#%d  %lld.%02lldsec", index + 1, startCs / 100, startCs % 100);
}

wxString ThumbnailDelayCaption(int delayCs)
{
    return wxString::Format("+%d.%02dsec", delayCs / 100, delayCs % 100);
}

wxSize FitThumbnailSize(const wxSize& image, const wxSize& box)
{
    if (image.x <= 0 || image.y <= 0)
        return wxSize(0, 0);
    const double sx = static_cast<double>(box.x) / image.x;
    const double sy = static_cast<double>(box.y) / image.y;
    if (sx >= 1 && sy >= 1)
        return image;
    const double s = std::min(sx, sy);
    const int width = static_cast<int>(image.x * s + kFitEpsilon);
    const int height = static_cast<int>(image.y * s + kFitEpsilon);
    return wxSize(std::max(1, width), std::max(1, height));
}
