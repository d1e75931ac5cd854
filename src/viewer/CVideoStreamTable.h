// The presenters' table of video surfaces the main frame owns; the surfaces come with the presenters.
#pragma once

class CVideoStreamTable {
public:
    static constexpr int kEntries = 32;
    CVideoStreamTable() = default;
    virtual ~CVideoStreamTable() = default;
};
