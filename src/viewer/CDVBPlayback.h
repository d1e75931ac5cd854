// The live playback graph the main frame owns; the graph itself comes with the playback library.
#pragma once

class CDVBPlayback {
public:
    CDVBPlayback() = default;
    virtual ~CDVBPlayback() = default;
};
