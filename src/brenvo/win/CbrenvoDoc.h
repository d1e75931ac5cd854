// The updater's document: it holds no data.
#pragma once

#include "framework/win/CDocument.h"
#include "framework/win/CRuntimeClass.h"

class CbrenvoDoc : public CDocument {
    DECLARE_DYNCREATE(CbrenvoDoc)
};
