// The worker thread's command channel and CMediaType's ownership of its format block.
#include <gtest/gtest.h>

#include <vector>

#include "dshow/CAMThread.h"
#include "dshow/CMediaType.h"

namespace {

class CEchoThread : public dshow::CAMThread {
public:
    std::vector<DWORD> m_seen;

protected:
    DWORD ThreadProc() override
    {
        for (;;) {
            DWORD request = GetRequest();
            m_seen.push_back(request);
            if (request == 0) {
                Reply(0);
                return 7;
            }
            Reply(request * 2);
        }
    }
};

class CQuitter : public dshow::CAMThread {
protected:
    DWORD ThreadProc() override { return 0; } // ends without answering anything
};

TEST(CAMThreadTest, RequestsAreAnsweredInOrder)
{
    CEchoThread thread;
    EXPECT_FALSE(thread.ThreadExists());
    EXPECT_EQ(static_cast<DWORD>(E_FAIL), thread.CallWorker(3));
    ASSERT_TRUE(thread.Create());
    EXPECT_FALSE(thread.Create());
    EXPECT_EQ(6u, thread.CallWorker(3));
    EXPECT_EQ(20u, thread.CallWorker(10));
    EXPECT_EQ(0u, thread.CallWorker(0));
    thread.Close();
    EXPECT_FALSE(thread.ThreadExists());
    EXPECT_EQ((std::vector<DWORD>{3, 10, 0}), thread.m_seen);
}

TEST(CAMThreadTest, AWorkerThatEndedDoesNotHangTheCaller)
{
    CQuitter thread;
    ASSERT_TRUE(thread.Create());
    Sleep(20);
    EXPECT_EQ(static_cast<DWORD>(E_FAIL), thread.CallWorker(1));
}

TEST(CMediaTypeTest, CopiesOwnTheirFormat)
{
    dshow::CMediaType a(&MEDIATYPE_Video);
    a.SetSubtype(&MEDIASUBTYPE_MPEG2_VIDEO);
    a.SetFormatType(&FORMAT_VideoInfo);
    BYTE format[5] = {1, 2, 3, 4, 5};
    ASSERT_TRUE(a.SetFormat(format, 5));
    dshow::CMediaType b = a;
    EXPECT_TRUE(a == b);
    EXPECT_NE(a.Format(), b.Format());
    b.Format()[4] = 9;
    EXPECT_TRUE(a != b);
    ASSERT_NE(nullptr, b.ReallocFormatBuffer(7));
    EXPECT_EQ(9, b.Format()[4]);
    EXPECT_EQ(0, b.Format()[6]);

    dshow::CMediaType partial(&MEDIATYPE_Video);
    EXPECT_TRUE(partial.IsPartiallySpecified());
    EXPECT_TRUE(a.MatchesPartial(&partial));
    partial.SetSubtype(&MEDIASUBTYPE_MPEG1Video);
    EXPECT_FALSE(a.MatchesPartial(&partial));
    EXPECT_FALSE(a.IsPartiallySpecified());
    a = a; // self-assignment keeps the block
    EXPECT_EQ(5u, a.FormatLength());
    EXPECT_EQ(3, a.Format()[2]);
}

} // namespace
