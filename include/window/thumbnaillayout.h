#pragma once

// The arithmetic of the frame strip: grid positions, hit testing, keyboard
// targets, scrolling, captions and thumbnail sizes. Plain functions with no
// window, so that the rules can be checked without a display.

#include <wx/dynarray.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

// The fixed shape of the grid: equal cells separated by `spacing` pixels,
// also kept between the cells and the window edges.
struct ThumbnailGrid {
    int cellWidth = 0;
    int cellHeight = 0;
    int spacing = 0;

    int ColumnPitch() const { return cellWidth + spacing; }
    int RowPitch() const { return cellHeight + spacing; }
};

// Number of columns for a client width; at least one.
int GridColumns(const ThumbnailGrid& grid, int clientWidth);
// Number of whole rows that fit a client height; at least one.
int GridRowsPerPage(const ThumbnailGrid& grid, int clientHeight);
// The cell of `index` in scrolled coordinates.
wxRect GridCellRect(const ThumbnailGrid& grid, int index, int clientWidth);
// Height of the grid holding `count` items, spacing above and below included.
int GridTotalHeight(const ThumbnailGrid& grid, int count, int clientWidth);
// The index owning a point in scrolled coordinates: each cell owns the
// spacing left of it and above it, and a point right of the last column
// counts on into the following rows. -1 for points left of or above the grid
// origin; the result may be at or past the item count.
int GridIndexAt(const ThumbnailGrid& grid, int clientWidth, const wxPoint& scrolledPoint);

// The gap a point in scrolled coordinates falls into when frames are dropped
// there: before the cell whose left half (or the spacing left of it) holds
// the point, after it for its right half, 0..count. Points above the grid
// count as its first row, below the last row as the end.
int GridGapAt(const ThumbnailGrid& grid, int clientWidth, int count, const wxPoint& scrolledPoint);

// The indices [first, last] of the items whose cells may meet the horizontal
// band of scrolled y from `top` (inclusive) to `bottom` (exclusive). Every
// cell that meets the band lies in the range; cells in the same rows that
// miss it horizontally are included too. first > last when there is none.
struct IndexRange {
    int first = 0;
    int last = -1;
    bool IsEmpty() const { return first > last; }
};
IndexRange GridIndexRangeInBand(const ThumbnailGrid& grid, int clientWidth, int count, int top,
                                int bottom);

// The picture area inside a cell, centred across. With captions it sits below
// the name line (margin, text line, margin), leaving the two caption lines
// below it; without, it is centred and lifted by half a text line.
wxRect PictureRectInCell(const wxRect& cell, const wxSize& thumbnail, int textHeight, int margin,
                         bool hasCaption);

// The item a navigation key moves to from `current`, or -1 when the key does
// nothing there (Left on the first item, Down on the last row and so on).
// Page keys jump by one page of rows and stop at the ends.
int KeyNavigationTarget(int keyCode, int current, int count, int columns, int rowsPerPage);
// Whether a navigation key moves forward through the list (its target's
// bottom edge is brought into view first) or backward (top edge first).
enum class ScrollOrder { None, BottomFirst, TopFirst };
ScrollOrder ScrollOrderForKey(int keyCode);

// The vertical scroll position, in scroll units, that brings a cell into
// view, or -1 when it is already in view. `cell` is in scrolled coordinates,
// `viewTop` is the scrolled y at the top of the client area.
int ScrollUnitsToShowCell(const wxRect& cell, int spacing, int viewTop, int clientHeight,
                          int pixelsPerUnit, ScrollOrder order);

// Keeps the same items selected when an item is inserted before `pos`.
void RenumberSelectionForInsert(wxArrayInt& selection, int pos);
// Drops the deleted item from the selection and renumbers the higher ones.
void RenumberSelectionForDelete(wxArrayInt& selection, int index);

// The two caption lines under a picture: its position counted from 1 with
// the time at which it starts, e.g. "#3  1.00sec", and how long it is shown,
// e.g. "+0.20sec"; both times in hundredths of a second.
wxString ThumbnailCaption(int index, long long startCs);
wxString ThumbnailDelayCaption(int delayCs);

// The size of the thumbnail of a picture of `image` size shown in `box`:
// scaled down keeping its proportions, never enlarged, never below 1 x 1.
wxSize FitThumbnailSize(const wxSize& image, const wxSize& box);
