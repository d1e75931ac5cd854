// How the page list and the pages reach the configuration view.
#pragma once

class CPagesListCallback {
public:
    virtual void OnPageSelected(int index) = 0;
    virtual void EnableButtons(bool apply, bool cancel, bool ok) = 0;

protected:
    ~CPagesListCallback() = default;
};
