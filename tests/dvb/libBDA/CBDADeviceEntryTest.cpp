// Every edge of the entry's two state machines, including the transitional states that only
// exist inside an operation (set here directly).
#include <gtest/gtest.h>

#include "BDATestSupport.h"
#include "TestDumpRecorder.h"
#include "VirtualTuner.h"
#include "dshow/CComPtr.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/BDANetworkTypes.h"

using libBDA::CBDADeviceEntry;

namespace {

class CStateEntry : public CBDADeviceEntry {
public:
    using CBDADeviceEntry::CBDADeviceEntry;
    using CBDADeviceEntry::ForceStates;
};

class CBDADeviceEntryTest : public ::testing::Test {
protected:
    void SetUp() override { CoInitialize(nullptr); }
    void TearDown() override { CoUninitialize(); }
    std::wstring TunerName() { return test::VirtualTunerDeviceName(virtualtuner::CLSID_VirtualTunerA); }
    test::CTestDumpRecorder m_recorder;
};

TEST_F(CBDADeviceEntryTest, GraphStateMachine)
{
    CStateEntry entry(TunerName(), L"Virtual Tuner", libBDA::kNetworkDVBT);
    EXPECT_EQ(S_FALSE, entry.CloseGraph());          // closed
    EXPECT_EQ(E_FAIL, entry.Run());                  // running needs an open graph
    EXPECT_EQ(E_FAIL, entry.Stop());
    EXPECT_EQ(S_FALSE, entry.Tune(nullptr));
    EXPECT_EQ(S_FALSE, entry.SetDiSEqCPort(1, false));

    ASSERT_EQ(S_OK, entry.OpenGraph(&m_recorder));   // closed -> open
    EXPECT_EQ(CBDADeviceEntry::kGraphOpen, entry.GetGraphState());
    EXPECT_EQ(S_FALSE, entry.OpenGraph(&m_recorder)); // open
    ASSERT_EQ(S_OK, entry.CloseGraph());             // open -> closed
    EXPECT_EQ(CBDADeviceEntry::kGraphClosed, entry.GetGraphState());

    entry.ForceStates(CBDADeviceEntry::kGraphOpening, CBDADeviceEntry::kStopped);
    EXPECT_EQ(S_FALSE, entry.OpenGraph(&m_recorder));
    EXPECT_EQ(E_FAIL, entry.CloseGraph());
    EXPECT_EQ(E_FAIL, entry.Run());
    entry.ForceStates(CBDADeviceEntry::kGraphClosing, CBDADeviceEntry::kStopped);
    EXPECT_EQ(E_FAIL, entry.OpenGraph(&m_recorder));
    EXPECT_EQ(S_FALSE, entry.CloseGraph());
    EXPECT_EQ(E_FAIL, entry.Stop());
    EXPECT_EQ(S_FALSE, entry.Tune(nullptr));
    EXPECT_EQ(CBDADeviceEntry::kGraphClosing, entry.GetGraphState());
    entry.ForceStates(CBDADeviceEntry::kGraphClosed, CBDADeviceEntry::kStopped);
}

TEST_F(CBDADeviceEntryTest, RunStateMachine)
{
    CStateEntry entry(TunerName(), L"Virtual Tuner", libBDA::kNetworkDVBT);
    ASSERT_EQ(S_OK, entry.OpenGraph(&m_recorder));
    EXPECT_EQ(S_FALSE, entry.Stop());                 // stopped
    ASSERT_TRUE(SUCCEEDED(entry.Run()));              // stopped -> running
    EXPECT_EQ(CBDADeviceEntry::kRunning, entry.GetRunState());
    EXPECT_EQ(S_FALSE, entry.Run());                  // running
    EXPECT_EQ(S_FALSE, entry.SetDiSEqCPort(1, true)); // only while stopped
    ASSERT_EQ(S_OK, entry.Stop());                    // running -> stopped
    EXPECT_EQ(CBDADeviceEntry::kStopped, entry.GetRunState());

    entry.ForceStates(CBDADeviceEntry::kGraphOpen, CBDADeviceEntry::kStarting);
    EXPECT_EQ(S_FALSE, entry.Run());
    EXPECT_EQ(E_FAIL, entry.Stop());
    EXPECT_EQ(S_FALSE, entry.Tune(nullptr));
    entry.ForceStates(CBDADeviceEntry::kGraphOpen, CBDADeviceEntry::kStopping);
    EXPECT_EQ(E_FAIL, entry.Run());
    EXPECT_EQ(S_FALSE, entry.Stop());
    EXPECT_EQ(S_FALSE, entry.SetDiSEqCPort(1, true));
    entry.ForceStates(CBDADeviceEntry::kGraphOpen, CBDADeviceEntry::kStopped);

    // Closing a running graph stops it first.
    ASSERT_TRUE(SUCCEEDED(entry.Run()));
    ASSERT_EQ(S_OK, entry.CloseGraph());
    EXPECT_EQ(CBDADeviceEntry::kStopped, entry.GetRunState());
    EXPECT_EQ(CBDADeviceEntry::kGraphClosed, entry.GetGraphState());
    // And the same entry opens again.
    ASSERT_EQ(S_OK, entry.OpenGraph(&m_recorder));
    EXPECT_EQ(S_OK, entry.CloseGraph());
}

TEST_F(CBDADeviceEntryTest, AFailedBuildGoesBackToClosed)
{
    CStateEntry entry(L"no such tuner", L"Ghost", libBDA::kNetworkDVBS);
    EXPECT_TRUE(FAILED(entry.OpenGraph(&m_recorder)));
    EXPECT_EQ(CBDADeviceEntry::kGraphClosed, entry.GetGraphState());
    CStateEntry badType(TunerName(), L"Virtual Tuner", 9);
    EXPECT_EQ(E_INVALIDARG, badType.OpenGraph(&m_recorder));
    EXPECT_EQ(CBDADeviceEntry::kGraphClosed, badType.GetGraphState());
}

} // namespace
