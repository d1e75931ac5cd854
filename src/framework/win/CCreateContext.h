// What a frame made by a document template is given to build its view.
#pragma once

struct CRuntimeClass;
class CDocument;
class CSingleDocTemplate;

struct CCreateContext {
    const CRuntimeClass* m_pNewViewClass = nullptr;
    CDocument* m_pCurrentDoc = nullptr;
    CSingleDocTemplate* m_pNewDocTemplate = nullptr;
};
