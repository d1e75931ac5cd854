// The names filters were added to a graph under, for tests that look at what a builder made.
#pragma once

#include <algorithm>
#include <string>
#include <vector>

#include "media/playback/win/GraphBuilder.h"

namespace test {

inline std::wstring FilterName(IBaseFilter* filter)
{
    FILTER_INFO info = {};
    filter->QueryFilterInfo(&info);
    if (info.pGraph)
        info.pGraph->Release();
    return info.achName;
}

// Every filter's name, sorted.
inline std::vector<std::wstring> FilterNames(IGraphBuilder* graph)
{
    std::vector<std::wstring> names;
    playback::CFilterList filters;
    playback::ListGraphFilters(graph, filters);
    for (ptrdiff_t i = 0; i < filters.GetSize(); ++i)
        names.push_back(FilterName(filters[i]));
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace test
