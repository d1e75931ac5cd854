// The programme-guide model the main frame owns; its events and time grid come with the guide.
#pragma once

class CEPGData {
public:
    CEPGData() = default;
    virtual ~CEPGData() = default;
};
