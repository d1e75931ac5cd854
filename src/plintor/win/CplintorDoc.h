// The configurator's document: empty, nothing is loaded or saved through it.
#pragma once

#include "framework/win/CDocument.h"

class CplintorDoc : public CDocument {
    DECLARE_DYNCREATE(CplintorDoc)
};
