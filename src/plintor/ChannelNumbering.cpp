#include "plintor/ChannelNumbering.h"

#include <utility>

namespace plintor {

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

int32_t NumberOf(const CQORService* row, NumberKind kind)
{
    return kind == NumberKind::kChannel ? row->GetChannelNumber() : row->GetFavouriteNumber();
}

void SetNumber(CQORService* row, NumberKind kind, int32_t number)
{
    if (kind == NumberKind::kChannel)
        row->SetChannelNumber(number);
    else
        row->SetFavouriteNumber(number);
}

} // namespace

size_t MoveSelectedRows(std::vector<CQORService*>& rows, std::vector<bool>& selected, int direction,
                        NumberKind kind)
{
    const size_t count = rows.size();
    if (direction == 0 || selected.size() != count || count == 0)
        return 0;
    size_t moved = 0;
    bool anchored = true; // still inside the run of selected rows at the moving end
    for (size_t step = 0; step < count; ++step) {
        const size_t row = direction < 0 ? step : count - 1 - step;
        if (!selected[row]) {
            anchored = false;
            continue;
        }
        if (anchored)
            continue;
        const size_t other = direction < 0 ? row - 1 : row + 1;
        const int32_t number = NumberOf(rows[row], kind);
        SetNumber(rows[row], kind, NumberOf(rows[other], kind));
        SetNumber(rows[other], kind, number);
        std::swap(rows[row], rows[other]);
        selected[row] = selected[other];
        selected[other] = true;
        ++moved;
    }
    return moved;
}

void Renumber(const std::vector<CQORService*>& rows, NumberKind kind)
{
    int32_t number = 0;
    for (CQORService* row : rows)
        SetNumber(row, kind, number++);
}

void RenumberFavourites(CServices& services)
{
    CServices::ServiceArray favourites;
    uint64_t version = 0;
    services.GetFavouriteServices(favourites, false, version);
    Renumber(favourites, NumberKind::kFavourite);
    services.RebuildLists();
}

void SetFavourite(CServices& services, CQORService* channel, bool favourite)
{
    if (!channel)
        return;
    if (favourite && channel->GetFavouriteNumber() >= 0)
        return;
    if (favourite) {
        CServices::ServiceArray favourites;
        uint64_t version = 0;
        services.GetFavouriteServices(favourites, false, version);
        services.SetFavourite(channel, static_cast<int32_t>(favourites.size()));
    } else {
        services.SetFavourite(channel, -1);
    }
    RenumberFavourites(services);
}

} // namespace plintor
