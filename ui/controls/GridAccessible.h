#pragma once
// The grid as assistive tools (screen readers, UI automation) see it, through Active
// Accessibility: a table whose children are its ten rows, each row's children its six cells. The
// cells' names are their texts; the heading row's cells are column headers, each row's first
// cell its row header; the selected row is selected, and focused while the grid has the focus.

#include <oleacc.h>

class TStringGrid;

// A new accessible object of the grid, with one reference for the caller. It reads the grid as it
// is at each question; Detach tells it the grid is gone, after which it answers no more.
IAccessible* CreateGridAccessible(const TStringGrid& grid);
void DetachGridAccessible(IAccessible* accessible);
