// MD5 against the test suite of RFC 1321 (A.5), the block boundaries of the padding, and
// python3's hashlib as a peer over random inputs split at random points.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "brenvo/Md5.h"
#include "brenvo/UpdateRequest.h"

namespace {

TEST(Md5, Rfc1321TestSuite)
{
    const std::pair<const char*, const char*> suite[] = {
        {"", "d41d8cd98f00b204e9800998ecf8427e"},
        {"a", "0cc175b9c0f1b6a831c399e269772661"},
        {"abc", "900150983cd24fb0d6963f7d28e17f72"},
        {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
        {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
        {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
        {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
         "57edf4a22be3c955ac49da2e2107b67a"},
    };
    for (const auto& entry : suite)
        EXPECT_EQ(Md5Hex(entry.first).Str(), entry.second) << '"' << entry.first << '"';
}

// Lengths where the padding needs one block or two, and whole blocks fed in pieces.
TEST(Md5, PaddingBoundaries)
{
    const std::pair<size_t, const char*> cases[] = {
        {55, "ef1772b6dff9a122358552954ad0df65"},
        {56, "3b0c8ac703f828b04c6c197006d17218"},
        {63, "b06521f39153d618550606be297466d5"},
        {64, "014842d480b571495a4a0363793f7367"},
        {65, "c743a45e0d2e6a95cb859adae0248435"},
    };
    for (const auto& entry : cases) {
        const std::string text(entry.first, 'a');
        EXPECT_EQ(Md5Hex(text.c_str()).Str(), entry.second) << entry.first;
        // Byte by byte gives the same digest.
        Md5Context context;
        Md5Init(context);
        for (char ch : text)
            Md5Update(context, &ch, 1);
        uint8_t digest[16];
        Md5Final(digest, context);
        EXPECT_EQ(DigestToHex(digest).Str(), entry.second) << entry.first;
    }
}

// The login hash for an empty password is still a hash of the challenge.
TEST(Md5, LoginHash)
{
    EXPECT_EQ(LoginHash("", "c").Str(), Md5Hex(CStringA("d41d8cd98f00b204e9800998ecf8427e") + "c").Str());
    EXPECT_EQ(LoginHash("secret", "ab12").Str(), Md5Hex(Md5Hex("secret") + "ab12").Str());
    EXPECT_EQ(LoginHash("secret", "ab12").GetLength(), 32);
}

TEST(Md5, AgreesWithHashlib)
{
    std::mt19937 random(20070201);
    std::vector<std::string> inputs;
    for (int i = 0; i < 200; ++i) {
        std::string bytes(random() % 300, '\0');
        for (char& ch : bytes)
            ch = static_cast<char>(random());
        inputs.push_back(bytes);
    }
    const std::string path = testing::TempDir() + "md5_inputs.bin";
    {
        std::ofstream out(path, std::ios::binary);
        for (const std::string& bytes : inputs) {
            out << bytes.size() << '\n';
            out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        }
    }
    const std::string script =
        "import hashlib,sys\n"
        "f=open(sys.argv[1],'rb')\n"
        "while True:\n"
        " n=f.readline()\n"
        " if not n: break\n"
        " print(hashlib.md5(f.read(int(n))).hexdigest())\n";
    std::istringstream digests(test::RunCommand("python3 -c \"" + script + "\" " + path));
    for (const std::string& bytes : inputs) {
        std::string expected;
        ASSERT_TRUE(std::getline(digests, expected));
        // Fed in two pieces split at a random point, across block edges.
        Md5Context context;
        Md5Init(context);
        const size_t split = bytes.empty() ? 0 : random() % bytes.size();
        Md5Update(context, bytes.data(), split);
        Md5Update(context, bytes.data() + split, bytes.size() - split);
        uint8_t digest[16];
        Md5Final(digest, context);
        EXPECT_EQ(DigestToHex(digest).Str(), expected) << bytes.size() << " bytes split at " << split;
    }
}

} // namespace
