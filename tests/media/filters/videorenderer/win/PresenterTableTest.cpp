// The allocator-presenters and the video-stream table on a real Direct3D 9 device, and the
// renderer's configuration interface and device-state machine.
#include <cmath>

#include <gtest/gtest.h>

#include "dshow/CComPtr.h"
#include "dshow/CMediaType.h"
#include "dshow/VideoTypes.h"
#include "media/filters/videorenderer/win/CDVBAllocPresenter.h"
#include "media/filters/videorenderer/win/CFileAllocPresenter.h"
#include "media/filters/videorenderer/win/CHarvoVR.h"
#include "media/filters/videorenderer/win/TestPresenterHost.h"

using namespace videorenderer;

namespace {

class PresenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_MULTITHREADED)));
        ASSERT_TRUE(m_host.Ready()) << "no Direct3D device";
        ASSERT_EQ(S_OK, m_host.Device()->CreateTexture(4, 4, 1, 0, D3DFMT_X8R8G8B8, D3DPOOL_MANAGED, &m_texture, nullptr));
    }
    void TearDown() override
    {
        if (m_texture)
            m_texture->Release();
        CoUninitialize();
    }
    test::CTestPresenterHost m_host;
    IDirect3DTexture9* m_texture = nullptr;
};

TEST_F(PresenterTest, TableSlotsAndTheirResults)
{
    CVideoStreamTable table;
    TextureRect rect{0.1f, 0.2f, 0.3f, 0.4f};
    int index = 7;
    // A null texture: the attach fails and the slot is not kept.
    EXPECT_EQ(E_POINTER, table.AddStream(nullptr, rect, 1.0, &index));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(nullptr, table.Stream(0));
    for (int i = 0; i < CVideoStreamTable::kSlots; ++i) {
        ASSERT_EQ(S_OK, table.AddStream(m_texture, rect, 1.5, &index));
        EXPECT_EQ(i, index);
    }
    EXPECT_EQ(E_FAIL, table.AddStream(m_texture, rect, 1.0, &index));
    EXPECT_EQ(-1, index);
    EXPECT_EQ(E_INVALIDARG, table.UpdateStream(m_texture, rect, 1.0, 32));
    EXPECT_EQ(E_INVALIDARG, table.UpdateStream(m_texture, rect, 1.0, -1));
    EXPECT_EQ(E_INVALIDARG, table.RemoveStream(32));
    EXPECT_EQ(E_INVALIDARG, table.RemoveStream(-1));
    EXPECT_EQ(S_OK, table.RemoveStream(5));
    EXPECT_EQ(S_FALSE, table.RemoveStream(5));
    EXPECT_EQ(E_FAIL, table.UpdateStream(m_texture, rect, 1.0, 5));
    ASSERT_EQ(S_OK, table.AddStream(m_texture, rect, 2.0, &index));
    EXPECT_EQ(5, index);
    TextureRect other{0.5f, 0.5f, 1.0f, 1.0f};
    EXPECT_EQ(S_OK, table.UpdateStream(nullptr, other, 3.0, 5));
    EXPECT_EQ(nullptr, table.Stream(5)->Texture());
    EXPECT_EQ(3.0, table.Stream(5)->Aspect());
    EXPECT_EQ(0.5f, table.Stream(5)->Rect().left);

    CVideoStream stream;
    EXPECT_EQ(E_FAIL, stream.Update(m_texture, rect, 1.0));
    EXPECT_EQ(S_FALSE, stream.Detach());
    EXPECT_EQ(S_OK, stream.Attach(m_texture, rect, 1.0));
    EXPECT_EQ(E_FAIL, stream.Attach(m_texture, rect, 1.0));
    EXPECT_EQ(S_OK, stream.Detach());
    // Ours plus one per slot holding it (slot 5 now holds none).
    m_texture->AddRef();
    EXPECT_EQ(1u + 31u, m_texture->Release());
}

TEST_F(PresenterTest, AllocateSurfaceMakesABlackPowerOfTwoTextureInATableSlot)
{
    auto* presenter = new CDVBAllocPresenter(&m_host, &m_host);
    dshow::CComPtr<IHVRAllocPresenter> keep(presenter);
    EXPECT_EQ(presenter, CDVBAllocPresenter::Current());

    SurfaceInfo info = {};
    info.width = 720;
    info.height = 576;
    info.aspect = 16.0 / 9.0;
    ASSERT_EQ(S_OK, presenter->AllocateSurface(&info));
    EXPECT_EQ(1024u, info.textureWidth);
    EXPECT_EQ(1024u, info.textureHeight);
    ASSERT_NE(nullptr, info.texture);
    EXPECT_EQ(0, presenter->StreamIndex());
    CVideoStream* stream = m_host.VideoStreamTable()->Stream(0);
    ASSERT_NE(nullptr, stream);
    EXPECT_EQ(info.texture, stream->Texture());
    EXPECT_FLOAT_EQ(0.5f / 1024, stream->Rect().left);
    EXPECT_FLOAT_EQ(0.5f / 1024, stream->Rect().top);
    EXPECT_FLOAT_EQ(719.0f / 1024, stream->Rect().right);
    EXPECT_FLOAT_EQ(575.0f / 1024, stream->Rect().bottom);
    ASSERT_EQ(1u, m_host.Formats().size());
    EXPECT_EQ(720, m_host.Formats()[0].width);
    EXPECT_EQ(576, m_host.Formats()[0].height);
    EXPECT_DOUBLE_EQ(16.0 / 9.0, m_host.Formats()[0].aspect);
    const auto pixels = m_host.ReadTexture(info.texture, 1024, 1024);
    ASSERT_EQ(1024u * 1024 * 4, pixels.size());
    for (size_t i = 0; i < pixels.size(); i += 4)
        ASSERT_EQ(0, pixels[i] | pixels[i + 1] | pixels[i + 2]) << i;
    info.texture->Release();

    // A second allocation replaces the texture in the same slot.
    SurfaceInfo one = {};
    one.width = 1;
    one.height = 1;
    ASSERT_EQ(S_OK, presenter->AllocateSurface(&one));
    EXPECT_EQ(1u, one.textureWidth);
    EXPECT_EQ(1u, one.textureHeight);
    EXPECT_EQ(0, presenter->StreamIndex());
    EXPECT_EQ(one.texture, m_host.VideoStreamTable()->Stream(0)->Texture());
    EXPECT_FLOAT_EQ(0.5f, m_host.VideoStreamTable()->Stream(0)->Rect().left);
    EXPECT_FLOAT_EQ(0.0f, m_host.VideoStreamTable()->Stream(0)->Rect().right);
    one.texture->Release();

    // Sizes the power-of-two search must not see.
    D3DCAPS9 caps = {};
    m_host.Device()->GetDeviceCaps(&caps);
    for (auto [w, h] : {std::pair<LONG, LONG>{0, 576}, {720, 0}, {-5, 576}, {LONG(caps.MaxTextureWidth) + 1, 4},
                        {4, LONG(caps.MaxTextureHeight) + 1}, {0x7FFFFFFF, 4}}) {
        SurfaceInfo bad = {};
        bad.width = w;
        bad.height = h;
        EXPECT_EQ(E_INVALIDARG, presenter->AllocateSurface(&bad)) << w << "x" << h;
        EXPECT_EQ(nullptr, bad.texture);
    }

    PresentInfo present = {};
    present.startTime = 1234567;
    EXPECT_EQ(S_OK, presenter->PresentSample(&present));
    ASSERT_EQ(1u, m_host.Times().size());
    EXPECT_EQ(1234567, m_host.Times()[0]);
    EXPECT_EQ(1, m_host.m_renderSignals);

    presenter->ReleaseTexture();
    EXPECT_EQ(-1, presenter->StreamIndex());
    EXPECT_EQ(nullptr, m_host.VideoStreamTable()->Stream(0));
}

TEST_F(PresenterTest, FilePresenterOnlySignalsAndCurrentPointersFollowTheirOwners)
{
    auto* first = new CFileAllocPresenter(&m_host);
    dshow::CComPtr<IHVRAllocPresenter> a(first);
    auto* second = new CFileAllocPresenter(&m_host);
    dshow::CComPtr<IHVRAllocPresenter> b(second);
    EXPECT_EQ(second, CFileAllocPresenter::Current());
    // The older one going must not clear the newer one's place.
    a.Release();
    EXPECT_EQ(second, CFileAllocPresenter::Current());
    PresentInfo present = {};
    present.startTime = 99;
    EXPECT_EQ(S_OK, second->PresentSample(&present));
    EXPECT_TRUE(m_host.Times().empty());
    EXPECT_EQ(1, m_host.m_renderSignals);
    b.Release();
    EXPECT_EQ(nullptr, CFileAllocPresenter::Current());
}

TEST_F(PresenterTest, RendererConfigurationAndDeviceStates)
{
    auto* renderer = new CHarvoVR();
    dshow::CComPtr<IBaseFilter> filter(static_cast<IBaseFilter*>(renderer));
    dshow::CComPtr<IHVRConfig> config;
    ASSERT_EQ(S_OK, filter->QueryInterface(IID_IHVRConfig, reinterpret_cast<void**>(&config)));
    EXPECT_EQ(E_POINTER, filter->QueryInterface(IID_IHVRConfig, nullptr));
    CLSID clsid;
    ASSERT_EQ(S_OK, filter->GetClassID(&clsid));
    const CLSID vmr7 = {0xb87beb7b, 0x8d29, 0x423f, {0xae, 0x4d, 0x65, 0x82, 0xc1, 0x01, 0x75, 0xac}};
    EXPECT_TRUE(clsid == vmr7);

    dshow::CMediaType yuy2;
    yuy2.SetType(&MEDIATYPE_Video);
    yuy2.SetSubtype(&MEDIASUBTYPE_YUY2);
    yuy2.SetFormatType(&FORMAT_VideoInfo2);
    auto* vih = reinterpret_cast<VIDEOINFOHEADER2*>(yuy2.AllocFormatBuffer(sizeof(VIDEOINFOHEADER2)));
    vih->bmiHeader.biWidth = 720;
    vih->bmiHeader.biHeight = 576;
    vih->bmiHeader.biBitCount = 16;
    EXPECT_EQ(E_FAIL, renderer->CheckMediaType(&yuy2)); // no presenter yet
    auto* presenter = new CDVBAllocPresenter(nullptr, &m_host);
    dshow::CComPtr<IHVRAllocPresenter> keep(presenter);
    ASSERT_EQ(S_OK, config->SetAllocPresenter(presenter));
    EXPECT_EQ(S_OK, renderer->CheckMediaType(&yuy2));
    dshow::CMediaType rgb24(yuy2);
    rgb24.SetSubtype(&MEDIASUBTYPE_RGB24);
    reinterpret_cast<VIDEOINFOHEADER2*>(rgb24.Format())->bmiHeader.biBitCount = 24;
    EXPECT_EQ(E_FAIL, renderer->CheckMediaType(&rgb24));
    dshow::CMediaType cut(yuy2);
    cut.ReallocFormatBuffer(100);
    EXPECT_EQ(E_FAIL, renderer->CheckMediaType(&cut));

    dshow::CComPtr<IHVRAllocPresenter> got;
    ASSERT_EQ(S_OK, config->GetAllocPresenter(&got));
    EXPECT_EQ(static_cast<IHVRAllocPresenter*>(presenter), got.Get());
    EXPECT_EQ(E_POINTER, config->GetDevice(nullptr));
    ASSERT_EQ(S_OK, config->SetDevice(m_host.Device()));
    dshow::CComPtr<IDirect3DDevice9> device;
    ASSERT_EQ(S_OK, config->GetDevice(&device));
    EXPECT_EQ(m_host.Device(), device.Get());
    EXPECT_EQ(S_OK, config->Reserved(5));

    EXPECT_EQ(E_UNEXPECTED, config->DeviceRestored());
    EXPECT_EQ(S_OK, config->ReleaseDeviceObjects());
    EXPECT_EQ(E_UNEXPECTED, config->ReleaseDeviceObjects());
    EXPECT_EQ(CHarvoVR::kDeviceLost, renderer->DeviceStateForTest());
    EXPECT_EQ(S_OK, config->DeviceRestored());
    EXPECT_EQ(E_UNEXPECTED, config->DeviceRestored());
    EXPECT_EQ(CHarvoVR::kDeviceRestored, renderer->DeviceStateForTest());
    ASSERT_EQ(S_OK, config->SetAllocPresenter(nullptr));
    ASSERT_EQ(S_OK, config->SetDevice(nullptr));
}

} // namespace
