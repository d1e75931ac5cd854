#include "brenvo/UpdateRequest.h"

#include "brenvo/Md5.h"

CStringA PercentEncode(const CStringA& value)
{
    static const char kHex[] = "0123456789ABCDEF";
    CStringA encoded;
    for (int i = 0; i < value.GetLength(); ++i) {
        const unsigned char ch = static_cast<unsigned char>(value.GetString()[i]);
        if ((ch >= 'A' && ch <= 'Z') || (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= '9') || ch == '-' ||
            ch == '.' || ch == '_' || ch == '~') {
            encoded += static_cast<char>(ch);
        } else {
            encoded += '%';
            encoded += kHex[ch >> 4];
            encoded += kHex[ch & 15];
        }
    }
    return encoded;
}

CStringA UpdateObjectPath(int opcode, const std::vector<std::pair<const char*, CStringA>>& keys)
{
    CStringA path;
    path.Format("/tolvik/autoupdate.php?opcode=%d", opcode);
    for (const auto& key : keys)
        path += CStringA("&") + key.first + "=" + PercentEncode(key.second);
    return path;
}

CStringA LoginHash(const CStringA& password, const CStringA& challenge)
{
    return Md5Hex(Md5Hex(password) + challenge);
}
