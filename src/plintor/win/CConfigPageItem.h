// One entry of the page list: its title, its 32 x 32 icon and the page it shows, which it owns.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/CString.h"
#include "framework/win/CBitmap.h"
#include "framework/win/CWnd.h"

class CLoadSave;

class CConfigPageItem {
public:
    // page is the window object of the page (owned); loadSave the same object as CLoadSave.
    CConfigPageItem(const CString& title, UINT iconId, std::unique_ptr<CWnd> page, CLoadSave* loadSave);

    CString m_title;
    CBitmap m_icon; // a DIB section: 32-bit icons keep their alpha
    std::unique_ptr<CWnd> m_page;
    CLoadSave* m_loadSave;
    int m_number = 0; // the page's place among all pages: its title string follows from it
};
