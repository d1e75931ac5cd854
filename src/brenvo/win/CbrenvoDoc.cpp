#include "brenvo/win/CbrenvoDoc.h"

IMPLEMENT_DYNCREATE(CbrenvoDoc, CDocument)
