// The multicast announcement listener the main frame owns; socket and parser come with the network sources.
#pragma once

class CSAPParser {
public:
    CSAPParser() = default;
    virtual ~CSAPParser() = default;
};
