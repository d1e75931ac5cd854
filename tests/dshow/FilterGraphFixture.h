// Base of the tests that run our filters in the platform's filter graph manager: COM started and
// a graph with its IMediaControl made for each test; on tear-down the graph goes first, then the
// test's own references to its filters, and every filter, pin, allocator and sample of ours must
// be gone with them. A test's SetUp calls this one first, under ASSERT_NO_FATAL_FAILURE.
#pragma once

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CUnknown.h"
#include "dshow/DShow.h"

namespace test {

class FilterGraphFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        m_baseline = dshow::CUnknown::LiveObjects();
        ASSERT_EQ(S_OK, m_graph.CoCreate(CLSID_FilterGraph));
        ASSERT_EQ(S_OK, m_control.QueryFrom(m_graph.Get()));
    }
    void TearDown() override
    {
        m_control.Release();
        m_graph.Release();
        ReleaseFilters();
        EXPECT_EQ(m_baseline, dshow::CUnknown::LiveObjects());
        CoUninitialize();
    }
    // The test's own references to its filters.
    virtual void ReleaseFilters() = 0;

    LONG m_baseline = 0;
    dshow::CComPtr<IGraphBuilder> m_graph;
    dshow::CComPtr<IMediaControl> m_control;
};

} // namespace test
