// Makes a window object's window from a dialog template of the resources. The object takes the
// window over at the first message the dialog procedure sees, before the controls are made, so
// WM_SETFONT, the controls' first messages to their parent and WM_INITDIALOG all pass through
// the object's map.
#pragma once

#include <windows.h>

class CWnd;

class CDialogTemplateWindow {
public:
    // The window, or null when the template is missing or the platform refused it. When no
    // window results, wnd has had PostNcDestroy: from its last message when it had met its
    // window, else from here.
    static HWND Create(CWnd* wnd, UINT templateId, HWND parent);

private:
    static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
};
