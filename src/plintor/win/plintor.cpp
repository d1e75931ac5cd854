// The configurator's application object.
#include "plintor/win/CplintorApp.h"

CplintorApp theApp;
