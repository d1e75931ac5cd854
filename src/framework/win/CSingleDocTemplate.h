// The one document type of a single-document program: its resource id (title, icon), and the
// classes of its document, frame and view. It owns the document it made.
#pragma once

#include <windows.h>

#include <memory>

#include "framework/win/CCmdTarget.h"

class CDocument;
struct CRuntimeClass;

class CSingleDocTemplate : public CCmdTarget {
public:
    CSingleDocTemplate(UINT id, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                       const CRuntimeClass* viewClass);
    ~CSingleDocTemplate() override;

    // A new, empty document with its frame and view (path is not read: the documents of these
    // programs hold no data). The frame becomes the main window when there is none; it is
    // shown when makeVisible. Null when any part cannot be made; nothing of it is left then.
    CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE);

    UINT GetResourceId() const { return m_resourceId; }

private:
    UINT m_resourceId;
    const CRuntimeClass* m_documentClass;
    const CRuntimeClass* m_frameClass;
    const CRuntimeClass* m_viewClass;
    std::unique_ptr<CDocument> m_document;
};
