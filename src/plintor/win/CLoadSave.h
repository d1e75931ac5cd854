// What every option page and the configuration view do: write their state, read it, and show
// their texts again in the current interface language.
#pragma once

class CLoadSave {
public:
    virtual void Save() = 0;
    virtual void Load() = 0;
    virtual void UpdateTexts() = 0;

protected:
    ~CLoadSave() = default;
};
