// The numbers of the channel editor's and the favourites page's rows: moving selected rows one
// place and numbering a list again after removals, so that no two channels share a number.
#pragma once

#include <vector>

#include "dvb/DVBPlaybackCore/CServices.h"

namespace plintor {

// Which number a page shows and moves: the channel number (TV or radio editor) or the favourite
// number (favourites page).
enum class NumberKind { kChannel, kFavourite };

// Moves every selected row one place up (direction < 0) or down (direction > 0). Walked from the
// moving end: a selected row in an unbroken run of selected rows from the first (Up) or last
// (Down) row stays; any other swaps places, selection and number with its neighbour. Numbers are
// swapped rather than stepped by one, so a list with a gap still keeps them distinct. `selected`
// has one flag per row. Returns the number of rows moved.
size_t MoveSelectedRows(std::vector<DVBPlaybackCore::CQORService*>& rows, std::vector<bool>& selected,
                        int direction, NumberKind kind);

// Gives every row its 0-based position as its number of the kind.
void Renumber(const std::vector<DVBPlaybackCore::CQORService*>& rows, NumberKind kind);

// Numbers the favourites 0..n-1 in their present order and sorts the lists again: after a
// favourite was switched off or its channel removed, the rest would otherwise keep a gap and a
// later favourite (numbered by how many come before it) would share a number.
void RenumberFavourites(DVBPlaybackCore::CServices& services);

// Makes the channel a favourite at the end of the favourites (true) or none (false), then
// numbers the favourites again.
void SetFavourite(DVBPlaybackCore::CServices& services, DVBPlaybackCore::CQORService* channel, bool favourite);

} // namespace plintor
