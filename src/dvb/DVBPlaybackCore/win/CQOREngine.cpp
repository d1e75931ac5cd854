#include "dvb/DVBPlaybackCore/win/CQOREngine.h"

#include <tuner.h>

#include <algorithm>

#include "dshow/CComPtr.h"
#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/DVBPlaybackCore/CETHTuneInfo.h"
#include "dvb/DVBPlaybackCore/GenreText.h"
#include "dvb/DVBPlaybackCore/PlayingPacketRelay.h"
#include "base/Clock.h"
#include "dvb/DVBPlaybackCore/TextCase.h"
#include "dvb/DVBPlaybackCore/win/BDATuneInfoLocator.h"
#include "dvb/libBDA/CBDADeviceList.h"
#include "dvb/libDVB/file/win/CTSFileEngine.h"
#include "dvb/libDVB/subtitle/win/CSubtitleDibSection.h"
#include "dvb/libDVB/teletext/win/CTeletextGdiCanvas.h"
#include "dvb/libDVB/timeshift/win/CTSPacketBuffer.h"
#include "dvb/libDVB_BDADevice/CBDATSEngine.h"
#include "dvb/libDVB_EthernetDevice/win/CMulticastDevice.h"

namespace DVBPlaybackCore {

namespace {

constexpr UINT kServiceChangedMessage = WM_APP + 1;
constexpr UINT kServiceReturnedMessage = WM_APP + 2;
constexpr wchar_t kWindowClass[] = L"TolvikChannelEngine";
constexpr uint32_t kStreamsForced = 0x400;
constexpr uint32_t kFollowingChanged = 0x40;

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

std::u16string MulticastName(const std::u16string& address, int32_t port)
{
    std::u16string name = address + u":";
    for (char c : std::to_string(port))
        name += static_cast<char16_t>(c);
    return name;
}

// Services get their timeshift buffer from the platform's factory as they are made, the records of
// the channel file among the first: it is installed before the channel list reads them.
libDVB::CService::CServiceCallback* WithTimeshiftBuffers(libDVB::CService::CServiceCallback* callback)
{
    libDVB::CTSPacketBuffer::Install();
    return callback;
}

} // namespace

CQOREngine::CQOREngine(CQOREngineUserInterface* ui, const std::u16string& dataFolder, HWND frame,
                       const std::u16string& channelFolder)
    : CServices(WithTimeshiftBuffers(static_cast<libDVB::CService::CServiceCallback*>(this)), channelFolder),
      m_teletext(this, std::make_unique<libDVB::CTeletextGdiCanvas>()), m_ui(ui), m_dataFolder(dataFolder),
      m_frame(frame), m_epg(dataFolder + u"\\epg.dat"),
      m_subtitles(this, std::make_unique<libDVB::CSubtitleDibSection>())
{
    ListLogos();
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = WindowProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kWindowClass;
    RegisterClassW(&windowClass); // fails harmlessly when a previous engine registered it
    m_window = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                               windowClass.hInstance, nullptr);
    SetWindowLongPtrW(m_window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

CQOREngine::~CQOREngine()
{
    Shutdown();
    m_subtitles.Attach(nullptr);
    m_teletext.Attach(nullptr);
    if (m_window) {
        SetWindowLongPtrW(m_window, GWLP_USERDATA, 0);
        DestroyWindow(m_window);
    }
}

void CQOREngine::ListLogos()
{
    const std::u16string folder = m_dataFolder + u"\\Resources\\tv_logos\\";
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW(Wide(folder + u"*.*"), &found);
    if (find == INVALID_HANDLE_VALUE)
        return;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
            continue;
        m_logos.push_back(LowerCase(folder + reinterpret_cast<const char16_t*>(found.cFileName)));
    } while (FindNextFileW(find, &found));
    FindClose(find);
}

HRESULT CQOREngine::ReservedForward(uint32_t first, uint32_t second) { return m_ui->Reserved(first, second); }

HRESULT CQOREngine::AddDevice(libDVB::CTSEngine* device, int32_t* id, const std::u16string& name)
{
    if (!device || FAILED(device->Start(this)))
        return E_FAIL;
    if (id)
        *id = m_nextDeviceId;
    m_devices[m_nextDeviceId++] = ENGINE{name, std::unique_ptr<libDVB::CTSEngine>(device)};
    return S_OK;
}

HRESULT CQOREngine::CreateBDADevice(const std::u16string& tunerName, libDVB::CTSEngine** device, int32_t* id)
{
    // Channel records keep the tuner's friendly name as the device list shows it.
    const std::wstring name(tunerName.begin(), tunerName.end());
    libBDA::CBDADeviceList& list = libBDA::GetBDADeviceList();
    for (size_t index = 0; index < list.GetCount(); ++index)
        if (list.GetEntry(index)->GetFriendlyName() == name)
            return CreateBDADevice(list.GetEntry(index), tunerName, device, id);
    if (device)
        *device = nullptr;
    return E_FAIL;
}

HRESULT CQOREngine::CreateBDADevice(libBDA::CBDADeviceEntry* entry, const std::u16string& tunerName,
                                    libDVB::CTSEngine** device, int32_t* id)
{
    if (device)
        *device = nullptr;
    auto created = std::make_unique<libDVB_BDADevice::CBDATSEngine>(entry, this);
    const HRESULT hr = AddDevice(created.get(), id, tunerName);
    if (FAILED(hr))
        return hr;
    if (device)
        *device = created.get();
    created.release(); // the device map owns it now
    return S_OK;
}

HRESULT CQOREngine::CreateMulticastDevice(const std::u16string& groupAddress, int32_t port,
                                          libDVB::CTSEngine** device, int32_t* id)
{
    if (device)
        *device = nullptr;
    // A UDP port outside 1..65535 names no group a device could join.
    if (port < 1 || port > 0xFFFF)
        return E_FAIL;
    auto created = std::make_unique<libDVB_EthernetDevice::CMulticastDevice>(groupAddress,
                                                                            static_cast<uint16_t>(port), this);
    const HRESULT hr = AddDevice(created.get(), id, MulticastName(groupAddress, port));
    if (FAILED(hr))
        return hr;
    if (device)
        *device = created.get();
    created.release();
    return S_OK;
}

HRESULT CQOREngine::CreateFileDevice(const std::u16string& path, libDVB::CTSEngine** device, int32_t* id)
{
    if (device)
        *device = nullptr;
    auto created = std::make_unique<libDVB::CTSFileEngine>(this, path);
    const HRESULT hr = AddDevice(created.get(), id, path);
    if (FAILED(hr))
        return hr;
    if (device)
        *device = created.get();
    created.release();
    return S_OK;
}

HRESULT CQOREngine::RemoveDevice(int32_t id)
{
    auto found = m_devices.find(id);
    if (found == m_devices.end())
        return E_FAIL;
    std::unique_ptr<libDVB::CTSEngine> device = std::move(found->second.device);
    m_devices.erase(found);
    device->StopStreaming();
    device->Stop();
    // A channel of this device left the slot because the device closed, not because its
    // programme left the multiplex: nothing is to resume.
    m_awaited.store(0);
    return S_OK;
}

HRESULT CQOREngine::CloseAllDevices()
{
    // Ids first: RemoveDevice erases from the map being walked.
    std::vector<int32_t> ids;
    for (const auto& entry : m_devices)
        ids.push_back(entry.first);
    for (int32_t id : ids)
        RemoveDevice(id);
    return S_OK;
}

HRESULT CQOREngine::TuneBDADevice(libDVB::CTSEngine* device, const CBDATuneInfo& info)
{
    auto* bda = dynamic_cast<libDVB_BDADevice::CBDATSEngine*>(device);
    if (!bda || !info.HasLocator())
        return E_FAIL;
    dshow::CComPtr<ILocator> locator;
    locator.Attach(CreateLocator(info));
    if (!locator)
        return E_FAIL;
    device->StopStreaming();
    device->Restart();
    if (info.GetTuningType() == CBDATuneInfo::kDVBS && info.GetDiSEqCPort() != 0) {
        dshow::CComPtr<IDVBSLocator> satellite;
        Polarisation polarisation = BDA_POLARISATION_NOT_SET;
        if (FAILED(locator->QueryInterface(IID_IDVBSLocator, reinterpret_cast<void**>(&satellite))) ||
            !satellite || FAILED(satellite->get_SignalPolarisation(&polarisation)))
            return E_FAIL;
        bda->SetDiSEqCPort(info.GetDiSEqCPort(), polarisation == BDA_POLARISATION_LINEAR_H);
    }
    bda->Tune(locator.Get());
    device->CycleStreaming();
    device->StartStreaming();
    return S_OK;
}

HRESULT CQOREngine::FindOrCreateDevice(CQORService* service, libDVB::CTSEngine** out)
{
    if (out)
        *out = nullptr;
    if (!service)
        return E_FAIL;
    for (size_t index = 0; index < service->GetTuneInfoCount(); ++index) {
        CTuneInfo* tuneInfo = service->GetTuneInfo(index);
        if (!tuneInfo)
            return E_FAIL;
        std::u16string name;
        const auto* bdaInfo = dynamic_cast<const CBDATuneInfo*>(tuneInfo);
        const auto* ethInfo = dynamic_cast<const CETHTuneInfo*>(tuneInfo);
        if (bdaInfo) {
            if (!bdaInfo->HasLocator())
                continue; // nothing to tune with
            name = bdaInfo->GetTunerName();
        } else if (ethInfo) {
            name = MulticastName(ethInfo->GetAddress(), static_cast<int32_t>(ethInfo->GetPort()));
        } else {
            continue;
        }
        libDVB::CTSEngine* device = nullptr;
        for (auto& entry : m_devices)
            if (entry.second.name == name)
                device = entry.second.device.get();
        if (!device) {
            CloseAllDevices();
            if (bdaInfo) {
                // The tuner of that name for the record's network type.
                if (libBDA::CBDADeviceEntry* entry = FindTuner(*bdaInfo))
                    CreateBDADevice(entry, name, &device, nullptr);
            } else
                CreateMulticastDevice(ethInfo->GetAddress(), static_cast<int32_t>(ethInfo->GetPort()), &device,
                                      nullptr);
            if (!device)
                continue;
        }
        if (bdaInfo) {
            if (FAILED(TuneBDADevice(device, *bdaInfo)))
                continue;
        } else {
            device->StartStreaming();
        }
        if (out)
            *out = device;
        return S_OK;
    }
    return S_FALSE;
}

bool CQOREngine::IsCarriedByRunningDevice(CQORService* service)
{
    libDVB::CServiceManager* manager = service->GetServiceManager();
    if (!manager)
        return false;
    for (auto& entry : m_devices)
        if (&entry.second.device->GetServiceManager() == manager &&
            entry.second.device->GetState() == libDVB::CTSEngine::kRunning)
            return true;
    return false;
}

int32_t CQOREngine::OwnListPosition(CQORService* service) const
{
    ServiceArray list;
    uint64_t version = 0;
    int32_t base = 0;
    if (service->GetServiceType() == libDVB::CService::kTV) {
        GetTVServices(list, false, version);
        base = kTVBase;
    } else if (service->GetServiceType() == libDVB::CService::kRadio) {
        GetRadioServices(list, false, version);
        base = kRadioBase;
    }
    for (size_t index = 0; index < list.size(); ++index)
        if (list[index] == service)
            return base + static_cast<int32_t>(index);
    return 0;
}

HRESULT CQOREngine::PlayService(CQORService* service, int32_t listPosition, int32_t slot)
{
    CQORService* previous = m_current.load();
    if (service && service == previous)
        return S_FALSE;
    if (slot != 0 || !service)
        return E_FAIL;
    const bool carried = IsCarriedByRunningDevice(service);
    if (previous) {
        StopService(previous);
        if (!carried)
            FindOrCreateDevice(service, nullptr);
        m_current.store(nullptr);
    } else {
        m_ui->StopPlayback();
        if (!carried)
            FindOrCreateDevice(service, nullptr);
    }
    // The user chose: a channel that left the multiplex is no longer waited for. The slot is empty
    // here, so no device thread can set it again.
    m_awaited.store(0);
    // The result of FindOrCreateDevice is not examined: without a device no packet ever comes.
    StartPlaying(service, listPosition != -1 ? listPosition : OwnListPosition(service));
    m_ui->StopRecording();
    return S_OK;
}

void CQOREngine::StartPlaying(CQORService* service, int32_t listPosition)
{
    m_current.store(service);
    service->SetListPosition(listPosition);
    m_teletext.Attach(&service->GetTeletextDecoder());
    m_subtitles.Attach(&service->GetSubtitleDecoder());

    libDVB::CEITEvent present, following;
    float fraction = 0;
    if (m_epg.GetNowNext(service->GetTransportStreamId(), service->GetServiceId(), service->GetOriginalNetworkId(),
                         &present, &following, &fraction) == S_OK)
        m_ui->ShowInfoText(present.name, following.name, fraction);
    else
        m_ui->ShowInfoText(u"", u"", 0);

    HandleServiceChanged(service, libDVB::CServiceStreams::kStreamsChanged | kStreamsForced,
                         libDVB::CService::kReceived);
    if (m_liveFlagPending) {
        m_liveFlagPending = false;
        m_ui->SetLiveFlag(1);
    }
    m_ui->RunPlayback();
    service->ActivateDecoding();
}

void CQOREngine::ResumeService(uint32_t key)
{
    const uint64_t awaited = m_awaited.load();
    if (!awaited || static_cast<uint32_t>(awaited >> 32) != key || m_current.load())
        return;
    // A record of the network list left with its programme; the one that came back is a new one.
    CQORService* service = FindService(key);
    if (!service || !IsCarriedByRunningDevice(service))
        return;
    m_awaited.store(0);
    m_shownSubtitles = 0;
    // A recording of the channel goes on: the same programme plays again.
    StartPlaying(service, static_cast<int32_t>(static_cast<uint32_t>(awaited)));
}

HRESULT CQOREngine::StopService(CQORService* service)
{
    m_ui->StopPlayback();
    m_ui->SetPanelShown(false);
    m_shownSubtitles = 0;
    m_teletext.Attach(nullptr);
    m_subtitles.Attach(nullptr);
    if (service) {
        if (m_timeshifting || service->IsTimeshiftCreated()) {
            // The buffer, paused or replaying, goes with its service; a paused file resumes
            // reading. The next service plays live.
            if (libDVB::CTSEngine* device = FirstDevice();
                m_timeshifting && device && device->CanPause() == S_FALSE)
                device->StartStreaming();
            m_timeshifting = false;
            m_liveFlagPending = true;
            service->StopTimeshift(true);
        }
        service->DeactivateDecoding();
    }
    return S_OK;
}

HRESULT CQOREngine::PlayServiceById(uint16_t serviceId, uint16_t transportStreamId, int32_t listPosition,
                                    int32_t slot)
{
    CQORService* service = FindService(KeyOf(transportStreamId, serviceId));
    if (!service)
        return S_FALSE;
    return PlayService(service, listPosition, slot);
}

HRESULT CQOREngine::PlayNextService()
{
    int32_t position = 0;
    CQORService* next = GetNextService(m_current.load(), position);
    return PlayService(next, position, 0);
}

HRESULT CQOREngine::PlayPreviousService()
{
    int32_t position = 0;
    CQORService* previous = GetPreviousService(m_current.load(), position);
    return PlayService(previous, position, 0);
}

HRESULT CQOREngine::GetCurrentService(CQORService** out)
{
    if (out)
        *out = m_current.load();
    return S_OK;
}

libDVB::CTSEngine* CQOREngine::FirstDevice()
{
    return m_devices.empty() ? nullptr : m_devices.begin()->second.device.get();
}

HRESULT CQOREngine::StartTimeshift()
{
    CQORService* service = m_current.load();
    if (!service)
        return S_FALSE;
    if (libDVB::CTSEngine* device = FirstDevice(); device && device->CanPause() == S_FALSE)
        device->StopStreaming();
    m_ui->PausePlayback();
    m_ui->SetLiveFlag(0);
    m_timeshifting = true;
    return service->StartTimeshift();
}

HRESULT CQOREngine::StopTimeshift(bool* restart)
{
    CQORService* service = m_current.load();
    if (!service)
        return S_FALSE;
    bool local = false;
    bool& goLive = restart ? *restart : local;
    if (libDVB::CTSEngine* device = FirstDevice(); device && device->CanPause() == S_FALSE) {
        device->StartStreaming();
        goLive = true;
    } else if (goLive) {
        m_ui->StopPlayback();
        m_ui->ResetDemux();
    }
    m_ui->RunPlayback();
    m_ui->SetLiveFlag(1);
    m_timeshifting = false;
    return service->StopTimeshift(goLive);
}

HRESULT CQOREngine::GetTimeshiftState(uint8_t* paused, uint8_t* created)
{
    CQORService* service = m_current.load();
    if (paused)
        *paused = service && service->IsTimeshiftPaused() ? 1 : 0;
    if (created)
        *created = service && service->IsTimeshiftCreated() ? 1 : 0;
    return service ? S_OK : S_FALSE;
}

HRESULT CQOREngine::Shutdown()
{
    SaveChannels();
    if (CQORService* service = m_current.load()) {
        StopService(service);
        m_current.store(nullptr);
    }
    CloseAllDevices();
    m_awaited.store(0);
    return S_OK;
}

HRESULT CQOREngine::OnServicePacket(libDVB::CService* service, uint16_t, const uint8_t* packet, uint32_t length,
                                    uint32_t)
{
    return RelayPlayingPacket(m_current, service, *m_ui, packet, length);
}

HRESULT CQOREngine::OnServiceChanged(libDVB::CService* service, uint32_t mask, uint32_t state, uint32_t)
{
    CQORService* current = m_current.load();
    if (!service)
        return S_OK;
    if (service != current) {
        // The programme that left the multiplex while it played is attached again: unless the
        // user has chosen another meanwhile, it plays again (on the user-interface thread).
        const uint64_t awaited = m_awaited.load();
        if (!current && awaited && (mask & libDVB::CServiceStreams::kReceptionChanged) &&
            state != libDVB::CService::kNotAttached) {
            const uint32_t key = static_cast<CQORService*>(service)->GetKey();
            if (key == static_cast<uint32_t>(awaited >> 32))
                PostMessageW(m_window, kServiceReturnedMessage, key, 0);
        }
        return S_OK;
    }
    // The service reports holding its lock: the report is handled later, on the user-interface
    // thread, with no service lock held. Reports pending meanwhile are merged, so a device that
    // reports faster than the user-interface thread handles never floods its queue. What is
    // merged is only the mask: the handler reads the service that plays when it runs, and that
    // service's reception state then, so that a report merged into one of a channel left in a
    // switch is neither dropped nor read with that channel's state.
    if (m_pendingMask.fetch_or(mask) == 0)
        PostMessageW(m_window, kServiceChangedMessage, 0, 0);
    return S_OK;
}

LRESULT CALLBACK CQOREngine::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kServiceChangedMessage) {
        auto* engine = reinterpret_cast<CQOREngine*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (engine) {
            // Another channel may play by now; a record leaves the slot before it is retired, so
            // the one in the slot is alive.
            CQORService* current = engine->m_current.load();
            const uint32_t mask = engine->m_pendingMask.exchange(0);
            if (current && mask)
                engine->HandleServiceChanged(current, mask, current->GetReceptionState());
        }
        return 0;
    }
    if (message == kServiceReturnedMessage) {
        if (auto* engine = reinterpret_cast<CQOREngine*>(GetWindowLongPtrW(window, GWLP_USERDATA)))
            engine->ResumeService(static_cast<uint32_t>(wParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void CQOREngine::HandleServiceChanged(CQORService* service, uint32_t mask, uint32_t state)
{
    if (service != m_current.load())
        return;
    if (mask & libDVB::CServiceStreams::kStreamsChanged) {
        uint16_t video = 0, audio = 0, pcr = 0;
        uint16_t subtitles = 0;
        uint32_t flags[libDVB::CServiceStreams::kChangeFlagCount] = {};
        {
            base::CScopedLock lock(service->Lock());
            if (libDVB::CStream* stream = service->GetPCRStream())
                pcr = stream->pid;
            if (libDVB::CStream* stream = service->GetAudioStream())
                audio = stream->pid;
            if (libDVB::CStream* stream = service->GetVideoStream())
                video = stream->pid;
            service->TakeChangeFlags(flags);
            if (libDVB::CSubtitleStream* stream = service->GetSubtitleStream())
                subtitles = stream->pid;
        }
        // A first selection made while the table was filled raises no flag: PIDs that differ
        // from the ones reported count as a change too.
        const uint16_t pids[3] = {video, audio, pcr};
        if (flags[libDVB::CServiceStreams::kVideoChanged] || flags[libDVB::CServiceStreams::kAudioChanged] ||
            (mask & kStreamsForced) || !std::equal(pids, pids + 3, m_reportedPids)) {
            std::copy(pids, pids + 3, m_reportedPids);
            m_ui->OnStreamsChanged(0, video, audio, pcr);
        }
        mask |= libDVB::CServiceStreams::kDescriptionChanged;
        // A choice kept from before becomes current while the table fills, which raises no flag
        // either: a current stream the panel was not shown for counts as a change.
        if (subtitles && (flags[libDVB::CServiceStreams::kSubtitleChanged] || subtitles != m_shownSubtitles))
            m_ui->SetPanelShown(true);
        m_shownSubtitles = subtitles;
        m_ui->OnServiceUpdated(service);
    }
    if ((mask & 0x3) && state == libDVB::CService::kReceived) {
        service->FindLogo(m_logos);
        m_ui->OnServiceUpdated(service);
    }
    if ((mask & (libDVB::CServiceStreams::kEventsChanged | kFollowingChanged)) &&
        state == libDVB::CService::kReceived) {
        const libDVB::CService::CEvent present = service->GetPresentEvent();
        const libDVB::CService::CEvent following = service->GetFollowingEvent();
        if (present.fraction >= 0.0f && present.fraction <= 1.0f)
            m_ui->ShowInfoText(present.name, following.name, present.fraction);
    }
}

HRESULT CQOREngine::OnServiceRemoved(libDVB::CServiceManager* manager, uint16_t serviceId, libDVB::CService* service)
{
    // A playing record leaves the slot, and the renderers let go of its decoders, before it is retired.
    CQORService* expected = static_cast<CQORService*>(service);
    if (service && m_current.compare_exchange_strong(expected, nullptr)) {
        m_teletext.Attach(nullptr);
        m_subtitles.Attach(nullptr);
        // Its programme may come back in a later PAT (or its device was closed or retuned, and
        // the engine forgets this again).
        const CQORService* left = static_cast<CQORService*>(service);
        m_awaited.store(static_cast<uint64_t>(left->GetKey()) << 32 | static_cast<uint32_t>(left->GetListPosition()));
    }
    return CServices::OnServiceRemoved(manager, serviceId, service);
}

HRESULT CQOREngine::UpdateEPGView(bool onlyWhenSignalled, int32_t listKind, int32_t* currentRow)
{
    constexpr int64_t kBack = 18000, kAhead = 172800, kHalfHour = 1800;
    const int64_t now = m_clock ? m_clock() : base::UtcNow();
    // The grid starts half an hour before the local half hour now lies in.
    const int64_t offset = base::LocalUtcOffset(now);
    const int64_t local = now + offset;
    const int64_t gridStart = local - ((local % kHalfHour) + kHalfHour) % kHalfHour - kHalfHour - offset;
    if (gridStart != m_gridStart) {
        m_ui->SetEPGWindowStart(gridStart);
        m_gridStart = gridStart;
        m_epg.SetGuideWindow(now - kBack, now + kAhead);
    }
    if (onlyWhenSignalled && !m_epg.GuideRefreshSignal().IsSet())
        return S_FALSE;
    m_ui->BeginEPGUpdate();
    ServiceArray channels;
    uint64_t version = 0;
    int32_t base = 0; // of the list positions the rows' keys carry, so a row plays as the stepping finds it
    if (listKind == 0)
        GetFavouriteServices(channels, false, version), base = kFavouriteBase;
    else if (listKind == 1)
        GetTVServices(channels, false, version), base = kTVBase;
    else if (listKind == 2)
        GetRadioServices(channels, false, version), base = kRadioBase;
    else if (listKind == 3)
        GetRunningServices(channels, true), SortServicesByName(channels);
    CQORService* playing = m_current.load();
    for (size_t row = 0; row < channels.size(); ++row) {
        CQORService* channel = channels[row];
        const uint16_t sid = channel->GetServiceId(), tsid = channel->GetTransportStreamId();
        const uint16_t onid = channel->GetOriginalNetworkId();
        const uint32_t keyLow = listKind == 3 ? 0 : static_cast<uint32_t>(base + static_cast<int32_t>(row)) << 16;
        const std::u16string name = channel->GetName();
        CQOREngineUserInterface::EPGChannel handle = nullptr;
        m_ui->AddEPGChannel(&name, keyLow, static_cast<uint32_t>(sid) << 16 | tsid, &handle);
        if (channel == playing && currentRow)
            *currentRow = static_cast<int32_t>(row);
        libDVB::CEventList events;
        m_epg.GetServiceEvents(onid, tsid, sid, events);
        std::sort(events.begin(), events.end(),
                  [](const libDVB::CEITEvent& a, const libDVB::CEITEvent& b) { return a.start < b.start; });
        for (size_t i = 0; i < events.size(); ++i) {
            const libDVB::CEITEvent& event = events[i];
            if (event.start + event.duration < now - kBack || event.start > now + kAhead)
                continue;
            int64_t duration = event.duration;
            if (i + 1 < events.size() && events[i + 1].start < event.start + duration)
                duration = events[i + 1].start - event.start;
            int category = 0;
            const std::u16string genre = GetGenreText(event.content, &category);
            std::u16string description =
                event.shortText.size() > event.extendedText.size() ? event.shortText : event.extendedText;
            if (description.empty())
                description = u"N/A";
            m_ui->AddEPGEvent(handle, &event.name, static_cast<uint32_t>(sid) << 16 | event.event_id,
                              static_cast<uint32_t>(onid) << 16 | tsid, event.start,
                              static_cast<int32_t>(duration / 60), static_cast<uint32_t>(category), &genre,
                              &description, 0);
        }
    }
    m_epg.GuideRefreshSignal().Reset();
    m_ui->CommitEPGUpdate();
    return S_OK;
}

HRESULT CQOREngine::GetEvent(uint32_t keyLow, uint32_t keyHigh, libDVB::CEITEvent* out)
{
    // Widened before the shift: the high word is the upper half of the key.
    return m_epg.GetEvent(static_cast<uint64_t>(keyHigh) << 32 | keyLow, out) == S_OK ? S_OK : E_FAIL;
}

HRESULT CQOREngine::ShowTeletext(bool show, int32_t page, bool subtitleMode)
{
    if (!show) {
        m_teletext.SetMode(0, subtitleMode ? 0 : -1);
        return S_OK;
    }
    if (subtitleMode)
        m_teletext.SetMode(0, page);
    else
        m_teletext.SetMode(1, -1);
    m_teletext.Render(page, 0, subtitleMode);
    return S_OK;
}

HRESULT CQOREngine::TeletextHitTest(float x, float y) { return m_teletext.HitTest(x, y) ? S_OK : E_FAIL; }

HRESULT CQOREngine::TeletextClick(float x, float y, bool* followed)
{
    if (followed)
        *followed = false;
    const uint32_t key = m_teletext.GetLinkAt(x, y);
    if (key < 1)
        return S_FALSE;
    m_teletext.Render(static_cast<int32_t>(key & 0xFFFF), static_cast<int32_t>(key >> 16), false);
    if (followed)
        *followed = true;
    return S_OK;
}

HRESULT CQOREngine::TeletextNavigate(int32_t how)
{
    uint32_t key = 0;
    if (how == 0)
        key = m_teletext.GetBackPage();
    else if (how == 1)
        key = m_teletext.GetPreviousPage();
    else if (how == 2)
        key = m_teletext.GetNextPage();
    if (key != 0) {
        m_teletext.ClearPageEntry();
        m_teletext.Render(static_cast<int32_t>(key & 0xFFFF), static_cast<int32_t>(key >> 16), false);
    }
    return S_OK;
}

HRESULT CQOREngine::TeletextKeyDown(int32_t virtualKey)
{
    if (virtualKey == VK_SPACE) {
        m_teletext.ToggleHold();
    } else if (virtualKey == VK_LEFT || virtualKey == VK_RIGHT) {
        TeletextNavigate(virtualKey == VK_LEFT ? 1 : 2);
    } else if (virtualKey >= VK_NUMPAD0 && virtualKey <= VK_NUMPAD9) {
        std::u16string text;
        m_teletext.EnterDigit(static_cast<unsigned>(virtualKey - VK_NUMPAD0), &text);
        if (!text.empty())
            m_ui->SetPageEntryText(text);
    }
    return S_OK;
}

HRESULT CQOREngine::RelayDisplayFlag(bool shown)
{
    m_ui->SetPanelShown(shown);
    return S_OK;
}

HRESULT CQOREngine::DrawSubtitles(uint64_t pts)
{
    m_subtitles.Draw(pts);
    return S_OK;
}

HRESULT CQOREngine::OnTeletextPage(libDVB::CTeletextDecoder* decoder, uint32_t pageKey, bool post, bool drop)
{
    if (post) {
        // Rendering belongs to the user-interface thread; the frame hands the message back.
        return PostMessageW(m_frame, kTeletextPageMessage, reinterpret_cast<WPARAM>(decoder),
                            static_cast<LPARAM>(drop ? 0 : pageKey))
                   ? S_OK
                   : E_FAIL;
    }
    // Back on the user-interface thread (the frame's message): the decoder is not touched, only
    // the renderer of the playing service's decoder draws.
    m_teletext.Render(static_cast<int32_t>(pageKey & 0xFFFF), static_cast<int32_t>(pageKey >> 16), drop);
    return S_OK;
}

HRESULT CQOREngine::OnEITTable(libDVB::CTSEngine*, const uint8_t* section, uint32_t length, libDVB::CEITTable* table)
{
    return m_epg.Merge(section, length, table);
}

HRESULT CQOREngine::OnSubtitleRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom)
{
    return m_ui->ShowOverlayBitmap(bitmap, left, top, right, bottom);
}

HRESULT CQOREngine::OnPageRendered(void* bitmap, int32_t left, int32_t top, int32_t right, int32_t bottom,
                                   uint32_t page, bool transparent)
{
    if (transparent)
        return m_ui->ShowOverlayBitmap(bitmap, left, top, right, bottom);
    return m_ui->ShowTeletextPage(bitmap, left, top, right, bottom, static_cast<int32_t>(page));
}

std::vector<std::pair<int32_t, std::u16string>> CQOREngine::GetDevices() const
{
    std::vector<std::pair<int32_t, std::u16string>> devices;
    for (const auto& entry : m_devices)
        devices.emplace_back(entry.first, entry.second.name);
    return devices;
}

} // namespace DVBPlaybackCore
