#pragma once
// The grid as assistive tools (screen readers, UI automation) see it, through Active
// Accessibility: a table whose children are its ten rows, each row's children its six cells. The
// cells' names are their texts; the heading row's cells are column headers, each row's first
// cell its row header; the selected row is selected, and focused while the grid has the focus.
// The columns are the record, the date, the time and three readings: a row of data is named by
// its record and content, "record 4, front 075,3, left 070,0, right 069,9, 12-11-2026 14:02:37"
// (the date and time as their cells show them).

#include <oleacc.h>

class TStringGrid;

// A new accessible object of the grid, with one reference for the caller. It reads the grid as it
// is at each question; Detach tells it the grid is gone, after which it answers no more.
IAccessible* CreateGridAccessible(const TStringGrid& grid);
void DetachGridAccessible(IAccessible* accessible);
