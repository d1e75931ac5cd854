// Version lines, the requests' query strings (read back by python3's own query parser) and the
// download accounting against cut-off, overlong and length-less bodies.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "RunCommand.h"
#include "brenvo/CVersionEntry.h"
#include "brenvo/DownloadBody.h"
#include "brenvo/UpdateRequest.h"
#include "framework/CTime.h"

namespace {

TEST(VersionEntry, FieldsAreTrimmedAndTheDateIsLocalMidnight)
{
    CVersionEntry entry;
    ASSERT_TRUE(entry.Parse(" 12 , 1 , 2007-2-1 , New build \r"));
    EXPECT_EQ(entry.m_versionId, 12);
    EXPECT_TRUE(entry.m_flag);
    EXPECT_EQ(entry.m_releaseDate, CTime(2007, 2, 1, 0, 0, 0).GetTime());
    CTime date(entry.m_releaseDate);
    EXPECT_EQ(date.GetYear(), 2007);
    EXPECT_EQ(date.GetMonth(), 2);
    EXPECT_EQ(date.GetDay(), 1);
    EXPECT_EQ(date.GetHour(), 0);
    EXPECT_EQ(entry.m_text.Str(), "New build");

    ASSERT_TRUE(entry.Parse("7,0,2010-13-1,"));
    EXPECT_EQ(entry.m_versionId, 7);
    EXPECT_FALSE(entry.m_flag);
    EXPECT_EQ(entry.m_releaseDate, 0); // no such month
    EXPECT_EQ(entry.m_text.Str(), "");
}

// Fields are read as a tokenizer on "," gives them: empty ones skipped, so a later field moves up;
// past the fourth they are ignored, missing ones stay empty. A line whose first field is not a
// whole number that fits the id is refused and leaves the entry as it was.
TEST(VersionEntry, FieldsAsTheTokenizerGivesThemAndUnreadableIdsRefused)
{
    const struct {
        const char* line;
        int32_t id;
        bool flag;
        const char* text;
    } read[] = {
        {"12,1,2007-2-1,New,extra", 12, true, "New"},
        {"12,1,2007-2-1", 12, true, ""},
        {"12", 12, false, ""},
        {"5,,1,,x", 5, true, ""},          // "1" moves up into the flag, "x" into the date
        {",,7,0,2007-2-1,Moved", 7, false, "Moved"},
        {"2147483647,1,2007-2-1,x", 2147483647, true, "x"},
    };
    for (const auto& r : read) {
        CVersionEntry entry;
        ASSERT_TRUE(entry.Parse(r.line)) << r.line;
        EXPECT_EQ(entry.m_versionId, r.id) << r.line;
        EXPECT_EQ(entry.m_flag, r.flag) << r.line;
        EXPECT_EQ(entry.m_text.Str(), r.text) << r.line;
    }
    CVersionEntry entry;
    ASSERT_TRUE(entry.Parse("5,1,2007-2-1,x"));
    for (const char* line : {"", ",,,", " , ", "\r", "garbage", "abc,1,2007-2-1,x", "-3,1,2007-2-1,x",
                             "4294967296,1,2007-2-1,x", "12a,1,2007-2-1,x", "<html>,,,"}) {
        EXPECT_FALSE(entry.Parse(line)) << line;
        EXPECT_EQ(entry.m_versionId, 5) << line;
    }
}

TEST(UpdateRequest, ObjectPaths)
{
    EXPECT_EQ(UpdateObjectPath(kOpChallenge).Str(), "/tolvik/autoupdate.php?opcode=0");
    EXPECT_EQ(UpdateObjectPath(kOpDownload, {{"versionID", "12"}}).Str(),
              "/tolvik/autoupdate.php?opcode=5&versionID=12");
    EXPECT_EQ(PercentEncode("a b&c=d#e+f~g.h-i_j%").Str(), "a%20b%26c%3Dd%23e%2Bf~g.h-i_j%25");
}

// The query keys as the script's side parses them: an account with '&', '#', '=', a blank and
// an 8-bit letter (0xE1, "a acute" in the Western code page) arrives as one value.
TEST(UpdateRequest, PeerParsesTheValuesIntact)
{
    const CStringA account("a b&c=d#e\xE1");
    const CStringA path = UpdateObjectPath(kOpLogin, {{"login", account}, {"pass", "0123abcd"}});
    const std::string script = "import sys,urllib.parse as u\n"
                               "q=u.parse_qs(u.urlsplit(sys.argv[1]).query,keep_blank_values=True,encoding='latin-1')\n"
                               "print(sorted(q)); print(q['login'][0].encode('latin-1').hex()); print(q['pass'][0])\n";
    const std::string output = test::RunCommand("python3 -c \"" + script + "\" '" + path.Str() + "'");
    std::string hex;
    for (unsigned char ch : account.Str()) {
        char pair[3];
        std::snprintf(pair, sizeof pair, "%02x", ch);
        hex += pair;
    }
    EXPECT_EQ(output, "['login', 'opcode', 'pass']\n" + hex + "\n0123abcd\n");
}

struct FakeBody {
    std::vector<char> bytes;
    size_t position = 0;
    bool failAt = false;
    std::vector<int> requests;
    std::vector<int> positions;
    std::string written;

    DownloadIo Io()
    {
        DownloadIo io;
        io.read = [this](void* buffer, int size) {
            requests.push_back(size);
            if (failAt && position > 0)
                return -1;
            const size_t n = std::min(bytes.size() - position, static_cast<size_t>(size));
            std::memcpy(buffer, bytes.data() + position, n);
            position += n;
            return static_cast<int>(n);
        };
        io.write = [this](const void* data, int size) {
            written.append(static_cast<const char*>(data), static_cast<size_t>(size));
            return true;
        };
        io.progress = [this](int position) { positions.push_back(position); };
        return io;
    }
};

TEST(DownloadBody, WholeBodyInChunksWithProgress)
{
    FakeBody body;
    for (int i = 0; i < 10000; ++i)
        body.bytes.push_back(static_cast<char>(i * 7));
    EXPECT_TRUE(DownloadBody(10000, body.Io()));
    EXPECT_EQ(body.requests, (std::vector<int>{4096, 4096, 1808, 1}));
    EXPECT_EQ(body.positions, (std::vector<int>{40, 81, 100}));
    EXPECT_EQ(body.written, std::string(body.bytes.begin(), body.bytes.end()));
}

// What arrived is what is written; the count decides, not the sizes asked for.
TEST(DownloadBody, CutOffOverlongAndLengthlessBodiesFail)
{
    FakeBody cut;
    cut.bytes.assign(5000, 'x');
    EXPECT_FALSE(DownloadBody(10000, cut.Io()));
    EXPECT_EQ(cut.written.size(), 5000u);
    EXPECT_EQ(cut.requests, (std::vector<int>{4096, 4096, 4096}));

    FakeBody longer;
    longer.bytes.assign(101, 'y');
    EXPECT_FALSE(DownloadBody(100, longer.Io()));

    FakeBody none;
    none.bytes.assign(100, 'z');
    EXPECT_FALSE(DownloadBody(0, none.Io()));
    EXPECT_FALSE(DownloadBody(-1, none.Io()));
    EXPECT_TRUE(none.requests.empty());

    FakeBody failing;
    failing.bytes.assign(9000, 'w');
    failing.failAt = true;
    EXPECT_FALSE(DownloadBody(9000, failing.Io()));
    EXPECT_EQ(failing.written.size(), 4096u);

    FakeBody exact;
    exact.bytes.assign(4096, 'v');
    EXPECT_TRUE(DownloadBody(4096, exact.Io()));
    EXPECT_EQ(exact.positions, (std::vector<int>{100}));
}

} // namespace
