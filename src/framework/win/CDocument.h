// A document of the single-document programs: made by its template before the frame and the
// view, and owned by the template.
#pragma once

#include <windows.h>

#include "framework/CString.h"
#include "framework/win/CCmdTarget.h"
#include "framework/win/CRuntimeClass.h"

class CSingleDocTemplate;

class CDocument : public CCmdTarget {
public:
    CDocument() = default;

    // A new, empty document: TRUE when it is ready for its views.
    virtual BOOL OnNewDocument();

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(LPCWSTR title) { m_strTitle = title; }
    CSingleDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

private:
    friend class CSingleDocTemplate;

    CString m_strTitle;
    CSingleDocTemplate* m_pDocTemplate = nullptr;
};
