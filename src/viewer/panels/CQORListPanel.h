// What the switcher, recorded-shows and channel screens share: a dimmed background, a header bar
// panel and a list below it.
#pragma once

#include "viewer/osd/Control.h"
#include "viewer/osd/ListBox.h"
#include "viewer/osd/Panel.h"
#include "viewer/osd/TileImage.h"
#include "viewer/panels/PanelDrawing.h"

namespace Panels {

// Draws background (at 0.85 of the factor), header and list, eased, moving as told.
void RenderListScreen(OnScreenDisplay::Panel& panel, OnScreenDisplay::Control* background,
                      OnScreenDisplay::Control* header, OnScreenDisplay::Control* list, Motion motion, float alpha);
// Background, header and list rectangles of the switcher.
void PlaceListScreen(const OnScreenDisplay::RectF& panel, OnScreenDisplay::Control* background,
                     OnScreenDisplay::Control* header, OnScreenDisplay::Control* list);
// As PlaceListScreen, and the list gets one column per 800 skin pixels (at least one) with its
// first shown item aligned to its scrolling unit: whole rows of columns when it runs row by row,
// whole columns of R rows when it runs column by column.
void PlaceColumnList(const OnScreenDisplay::RectF& panel, OnScreenDisplay::Control* background,
                     OnScreenDisplay::Control* header, OnScreenDisplay::ListBox* list);

} // namespace Panels
