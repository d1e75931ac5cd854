// The allocator's contract: properties only while decommitted, buffers aligned with their
// prefix, GetBuffer waiting or failing, and decommit deferred until every sample is home.
#include <gtest/gtest.h>

#include <thread>

#include "dshow/CComPtr.h"
#include "dshow/CMemAllocator.h"
#include "dshow/CUnknown.h"

using dshow::CComPtr;

namespace {

ALLOCATOR_PROPERTIES Props(LONG count, LONG size, LONG align, LONG prefix)
{
    ALLOCATOR_PROPERTIES p;
    p.cBuffers = count;
    p.cbBuffer = size;
    p.cbAlign = align;
    p.cbPrefix = prefix;
    return p;
}

TEST(CMemAllocatorTest, PropertiesAlignmentAndPrefix)
{
    LONG baseline = dshow::CUnknown::LiveObjects();
    {
        CComPtr<IMemAllocator> allocator;
        allocator.Attach(dshow::CMemAllocator::CreateInstance());
        ALLOCATOR_PROPERTIES actual;
        ALLOCATOR_PROPERTIES bad = Props(2, 100, 3, 0);
        EXPECT_EQ(VFW_E_BADALIGN, allocator->SetProperties(&bad, &actual));
        bad = Props(0, 100, 1, 0);
        EXPECT_EQ(E_INVALIDARG, allocator->SetProperties(&bad, &actual));
        EXPECT_EQ(VFW_E_SIZENOTSET, allocator->Commit());

        ALLOCATOR_PROPERTIES request = Props(3, 1001, 64, 5);
        ASSERT_EQ(S_OK, allocator->SetProperties(&request, &actual));
        EXPECT_EQ(3, actual.cBuffers);
        EXPECT_EQ(1001, actual.cbBuffer);
        ASSERT_EQ(S_OK, allocator->Commit());
        EXPECT_EQ(VFW_E_ALREADY_COMMITTED, allocator->SetProperties(&request, &actual));

        IMediaSample* samples[3] = {};
        for (auto& s : samples) {
            ASSERT_EQ(S_OK, allocator->GetBuffer(&s, nullptr, nullptr, 0));
            BYTE* p = nullptr;
            s->GetPointer(&p);
            EXPECT_EQ(0u, reinterpret_cast<uintptr_t>(p) % 64);
            EXPECT_EQ(1001, s->GetSize());
            // The prefix bytes in front are ours to write, and the buffers do not overlap.
            std::fill(p - 5, p + 1001, static_cast<BYTE>(0xA5));
        }
        IMediaSample* extra = nullptr;
        EXPECT_EQ(VFW_E_TIMEOUT, allocator->GetBuffer(&extra, nullptr, nullptr, AM_GBF_NOWAIT));
        EXPECT_EQ(VFW_E_BUFFER_OVERFLOW, samples[0]->SetActualDataLength(1002));
        EXPECT_EQ(S_OK, samples[0]->SetActualDataLength(1001));
        for (auto& s : samples)
            s->Release();
        EXPECT_EQ(S_OK, allocator->Decommit());
        IMediaSample* late = nullptr;
        EXPECT_EQ(VFW_E_NOT_COMMITTED, allocator->GetBuffer(&late, nullptr, nullptr, 0));
    }
    EXPECT_EQ(baseline, dshow::CUnknown::LiveObjects());
}

TEST(CMemAllocatorTest, WaitingGetBufferWakesOnReturnAndOnDecommit)
{
    CComPtr<IMemAllocator> allocator;
    allocator.Attach(dshow::CMemAllocator::CreateInstance());
    ALLOCATOR_PROPERTIES request = Props(1, 188, 1, 0), actual;
    ASSERT_EQ(S_OK, allocator->SetProperties(&request, &actual));
    ASSERT_EQ(S_OK, allocator->Commit());
    IMediaSample* held = nullptr;
    ASSERT_EQ(S_OK, allocator->GetBuffer(&held, nullptr, nullptr, 0));
    // Fresh state each time a sample goes out.
    held->SetSyncPoint(TRUE);
    held->SetActualDataLength(10);

    HRESULT waited = E_FAIL;
    IMediaSample* second = nullptr;
    std::thread waiter([&] { waited = allocator->GetBuffer(&second, nullptr, nullptr, 0); });
    Sleep(20);
    held->Release();
    waiter.join();
    ASSERT_EQ(S_OK, waited);
    EXPECT_EQ(S_FALSE, second->IsSyncPoint());
    EXPECT_EQ(0, second->GetActualDataLength());

    // A waiter blocked on an empty pool fails when the pool is decommitted.
    HRESULT blocked = S_OK;
    IMediaSample* never = nullptr;
    std::thread stuck([&] { blocked = allocator->GetBuffer(&never, nullptr, nullptr, 0); });
    Sleep(20);
    ASSERT_EQ(S_OK, allocator->Decommit());
    stuck.join();
    EXPECT_EQ(VFW_E_NOT_COMMITTED, blocked);
    EXPECT_EQ(nullptr, never);
    // The outstanding sample still works and is freed when it comes home.
    BYTE* p = nullptr;
    ASSERT_EQ(S_OK, second->GetPointer(&p));
    p[187] = 1;
    second->Release();
    EXPECT_EQ(S_OK, allocator->Commit());
    EXPECT_EQ(S_OK, allocator->Decommit());
}

TEST(CMemAllocatorTest, SampleTimesAndMediaType)
{
    CComPtr<IMemAllocator> allocator;
    allocator.Attach(dshow::CMemAllocator::CreateInstance());
    ALLOCATOR_PROPERTIES request = Props(1, 16, 1, 0), actual;
    ASSERT_EQ(S_OK, allocator->SetProperties(&request, &actual));
    ASSERT_EQ(S_OK, allocator->Commit());
    IMediaSample* s = nullptr;
    ASSERT_EQ(S_OK, allocator->GetBuffer(&s, nullptr, nullptr, 0));
    REFERENCE_TIME a = 0, b = 0;
    EXPECT_EQ(VFW_E_SAMPLE_TIME_NOT_SET, s->GetTime(&a, &b));
    REFERENCE_TIME start = 100;
    EXPECT_EQ(S_OK, s->SetTime(&start, nullptr));
    EXPECT_EQ(VFW_S_NO_STOP_TIME, s->GetTime(&a, &b));
    EXPECT_EQ(100, a);
    EXPECT_EQ(101, b);
    AM_MEDIA_TYPE* type = nullptr;
    EXPECT_EQ(S_FALSE, s->GetMediaType(&type));
    AM_MEDIA_TYPE mt = {};
    mt.majortype = MEDIATYPE_Video;
    EXPECT_EQ(S_OK, s->SetMediaType(&mt));
    ASSERT_EQ(S_OK, s->GetMediaType(&type));
    EXPECT_TRUE(type->majortype == MEDIATYPE_Video);
    CoTaskMemFree(type);
    s->Release();
}

} // namespace
