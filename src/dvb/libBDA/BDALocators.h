// The locators that the tuning records keep, one builder per network type. Each returns the new
// locator with one reference for the caller, or null when the system cannot create it.
#pragma once

#include "dvb/libBDA/BDADeclarations.h"

namespace libBDA {

IDVBTLocator* CreateDVBTLocator(long frequency, long bandwidth);
IDVBCLocator* CreateDVBCLocator(long frequency, long symbolRate);
IDVBSLocator* CreateDVBSLocator(long frequency, long symbolRate, Polarisation polarisation);
IATSCLocator* CreateATSCLocator(long frequency, long physicalChannel);

} // namespace libBDA
