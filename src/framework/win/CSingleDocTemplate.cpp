#include "framework/win/CSingleDocTemplate.h"

#include "framework/win/CCreateContext.h"
#include "framework/win/CDocument.h"
#include "framework/win/CFrameWnd.h"
#include "framework/win/CRuntimeClass.h"
#include "framework/win/CWinApp.h"

CSingleDocTemplate::CSingleDocTemplate(UINT id, const CRuntimeClass* documentClass, const CRuntimeClass* frameClass,
                                       const CRuntimeClass* viewClass)
    : m_resourceId(id), m_documentClass(documentClass), m_frameClass(frameClass), m_viewClass(viewClass)
{
}

CSingleDocTemplate::~CSingleDocTemplate() = default;

CDocument* CSingleDocTemplate::OpenDocumentFile(LPCWSTR, BOOL makeVisible)
{
    if (m_document) {
        // One document at a time: a second "new" empties the one there is.
        return m_document->OnNewDocument() ? m_document.get() : nullptr;
    }
    std::unique_ptr<CCmdTarget> madeDocument(m_documentClass ? m_documentClass->CreateObject() : nullptr);
    auto* document = dynamic_cast<CDocument*>(madeDocument.get());
    std::unique_ptr<CCmdTarget> madeFrame(m_frameClass ? m_frameClass->CreateObject() : nullptr);
    auto* frame = dynamic_cast<CFrameWnd*>(madeFrame.get());
    if (!document || !frame)
        return nullptr;
    madeDocument.release();
    std::unique_ptr<CDocument> owned(document);
    document->m_pDocTemplate = this;

    CCreateContext context;
    context.m_pNewViewClass = m_viewClass;
    context.m_pCurrentDoc = document;
    context.m_pNewDocTemplate = this;
    madeFrame.release(); // from here the frame goes with its window
    if (!frame->LoadFrame(m_resourceId, WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE, nullptr, &context))
        return nullptr;
    if (!document->OnNewDocument()) {
        frame->DestroyWindow();
        return nullptr;
    }
    m_document = std::move(owned);
    CWinApp* app = AfxGetApp();
    if (app && !app->m_pMainWnd)
        app->m_pMainWnd = frame;
    frame->InitialUpdateFrame(document, makeVisible);
    return document;
}
