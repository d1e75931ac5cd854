// The requests of the update exchange: the script's object paths with their query keys, and the
// login hash. Platform-neutral.
#pragma once

#include <utility>
#include <vector>

#include "framework/CStringA.h"

// The update script's operations.
enum UpdateOpcode {
    kOpChallenge = 0,
    kOpLogin = 1,
    kOpVersions = 3,
    kOpDownload = 5,
    kOpInstalled = 7,
};

// Every byte of value outside the unreserved set of RFC 3986, 2.3 as "%XX", so that '&', '#',
// '=', '+', blanks and 8-bit letters reach the script's query parser as they were typed.
CStringA PercentEncode(const CStringA& value);

// "/tolvik/autoupdate.php?opcode=N" followed by "&key=" and the encoded value of each key.
CStringA UpdateObjectPath(int opcode, const std::vector<std::pair<const char*, CStringA>>& keys = {});

// Md5Hex(Md5Hex(password) + challenge): the script never sees the password itself.
CStringA LoginHash(const CStringA& password, const CStringA& challenge);
