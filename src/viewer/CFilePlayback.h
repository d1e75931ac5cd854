// The media-file playback graph the main frame owns; the graph itself comes with the playback library.
#pragma once

class CFilePlayback {
public:
    CFilePlayback() = default;
    virtual ~CFilePlayback() = default;
};
