// The frame's playback modes, the stop-everything step, the device re-creation on a change of
// monitor, the recording command and the small operations the presenters and the OSD call.
#include "viewer/MainFrm.h"

#include <shlwapi.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "viewer/CommandIds.h"
#include "viewer/CommandRules.h"
#include "viewer/LoadLocalizedString.h"
#include "viewer/WideText.h"

namespace {
constexpr UINT kNoDataPeriod = 500;
constexpr DWORD kTuneGrace = 2000;
constexpr UINT kRecordingFailed = 185;

CString LocalDateText()
{
    wchar_t date[100] = {};
    ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, nullptr, nullptr, date, 100);
    return CString(date);
}

CString LocalTimeText()
{
    wchar_t time[100] = {};
    ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, nullptr, nullptr, time, 100);
    CString text(time);
    text.Replace(L":", L"-");
    return text;
}
} // namespace

using namespace viewer;

// Modes ---------------------------------------------------------------------------------------

void CMainFrame::SetModeButtons(int mode)
{
    // Under m_uiLock.
    switch (mode) {
    case ModeIdle:
        m_display.SetControlButton(0, CmdRecord, L"rec_button", false);
        m_display.SetControlButton(1, 0, L"play_button", false);
        break;
    case ModeFile:
        m_display.SetControlButton(0, CmdStopFile, L"stop_button", true);
        m_display.SetControlButton(1, 0, m_relay->FileIsRunning() ? L"pause_button" : L"play_button", true);
        break;
    default:
        m_display.SetControlButton(0, CmdRecord, L"rec_button", true);
        m_display.SetControlButton(1, 0, L"pause_button", true);
        break;
    }
}

HRESULT CMainFrame::SetMode(int mode)
{
    const int current = m_mode;
    if (mode == current)
        return 1;
    m_relay->FileSetVolume(m_volume);
    m_relay->LiveSetVolume(m_volume);
    switch (mode) {
    case ModeIdle: {
        m_relay->LiveDestroyGraph();
        m_mode = ModeIdle;
        base::CScopedLock ui(m_uiLock);
        m_display.SetChannelLogo(nullptr);
        m_display.SetStreamIcons(false, false, false);
        m_display.SetChannelName(CString());
        m_display.SetProgress(0);
        m_display.SetInfoText(0, CString());
        m_display.SetInfoText(1, CString());
        m_display.ShowSubtitles(false);
        SetModeButtons(ModeIdle);
        return S_OK;
    }
    case ModeFile: {
        if (current != ModeTransitional && current != ModeIdle)
            return E_FAIL;
        base::CScopedLock ui(m_uiLock);
        m_display.ShowBackground(true);
        SetModeButtons(ModeFile);
        m_mode = ModeFile;
        return S_OK;
    }
    case ModeLive: {
        HRESULT result = S_OK;
        if (current == ModeFile)
            m_relay->FileClose();
        // From the transitional mode the graph was kept through the device re-creation;
        // RestoreDevice re-attaches it.
        if (current != ModeTransitional)
            result = m_relay->LiveBuildGraph();
        if (FAILED(result)) {
            // The file is closed already: a failed build leaves nothing playing, which is idle.
            if (current == ModeFile)
                SetMode(ModeIdle);
            return result;
        }
        m_relay->LiveSetVolume(m_volume);
        base::CScopedLock ui(m_uiLock);
        m_display.ShowBackground(false);
        m_display.SetChannelLogo(nullptr);
        m_display.SetStreamIcons(false, false, false);
        m_display.SetChannelName(CString());
        m_display.SetTeletextPageText(CString());
        m_display.SetInfoText(0, CString());
        m_display.SetInfoText(1, CString());
        m_display.SetProgress(0);
        SetModeButtons(ModeLive);
        m_mode = ModeLive;
        return result;
    }
    default:
        m_mode = mode;
        return S_OK;
    }
}

void CMainFrame::StopAll()
{
    KillTimer(TIMER_NO_DATA);
    {
        base::CScopedLock ui(m_uiLock);
        m_display.SetNoDataIcon(false);
    }
    // The recording first, so that its file is written out and closed; then the engine, whose
    // device threads deliver into the graph without a frame lock; then the graphs.
    m_relay->StopRecorder();
    if (m_engine)
        m_engine->Shutdown();
    SetMode(ModeIdle);
    m_relay->FileClose();
    {
        base::CScopedLock ui(m_uiLock);
        m_display.ShowBackground(true);
        m_display.SetRecordIcon(0);
    }
    {
        base::CScopedLock format(m_formatLock);
        m_sourceAspect = 4.0 / 3.0;
        m_aspect = 4.0 / 3.0;
        m_videoWidth = 1;
        m_videoHeight = 1;
    }
    OnServiceUpdated(nullptr);
    SetInfoText(CString(), CString(), 0);
}

// Tuning and recording --------------------------------------------------------------------------

void CMainFrame::BeginTune()
{
    SetMode(ModeLive);
    SetTimer(TIMER_NO_DATA, kNoDataPeriod);
    base::CScopedLock ui(m_uiLock);
    m_display.SetNoDataIcon(false);
    m_relay->SetLastPacketTick(::GetTickCount() + kTuneGrace);
}

HRESULT CMainFrame::TuneStart(uint16_t serviceId, uint16_t transportStreamId, int32_t number)
{
    BeginTune();
    return m_engine ? m_engine->PlayServiceById(serviceId, transportStreamId, number, 0) : E_FAIL;
}

HRESULT CMainFrame::TuneStart(CQORService* service, int32_t listPosition)
{
    BeginTune();
    return m_engine ? m_engine->PlayService(service, listPosition, 0) : E_FAIL;
}

void CMainFrame::OnRecordingEnded()
{
    // A scheduled recording's path is spent: the next user recording must not truncate it.
    m_recordFilePath.Empty();
    base::CScopedLock ui(m_uiLock);
    m_display.SetRecordIcon(0);
}

void CMainFrame::ShowStreams(bool video)
{
    base::CScopedLock ui(m_uiLock);
    // A radio service has no video: the background panel stands in for the picture.
    m_display.SetVideoStream(video ? 0 : -1);
    m_display.ShowBackground(!video);
}

void CMainFrame::ToggleRecording()
{
    if (m_mode != ModeLive || !m_engine)
        return;
    {
        base::CScopedLock data(m_relay->DataLock());
        if (m_relay->IsRecording()) {
            OnDiskFull();
            return;
        }
    }
    // What the file name needs of the service is read before any frame lock: the service lock
    // comes first in the lock order.
    CQORService* service = nullptr;
    m_engine->GetCurrentService(&service);
    if (!service)
        return;
    const CString channel = viewer::ToCString(service->GetName());
    const CString title = viewer::ToCString(service->GetPresentEvent().name);
    const CString date = LocalDateText(), time = LocalTimeText();

    CString path, folder;
    if (!m_recordFilePath.IsEmpty()) {
        path = m_recordFilePath;
        folder = path.Left(path.ReverseFind(L'\\') + 1);
    } else {
        const std::u16string name =
            viewer::RecordingFileName(viewer::ToU16(channel.GetString()),
                                      viewer::ToU16((title.IsEmpty() ? time : title).GetString()),
                                      viewer::ToU16(date.GetString()));
        // The sink truncates an existing file: the name must be free.
        path = viewer::ToCString(viewer::FreeRecordingPath(
            viewer::ToU16((m_recPath + L"\\").GetString()) + name, viewer::ToU16(time.GetString()),
            [](const std::u16string& p) { return ::PathFileExistsW(viewer::ToCString(p)) != FALSE; }));
        folder = m_recPath;
    }
    uint16_t videoPid = 0, audioPid = 0;
    m_relay->LiveGetStreamPids(videoPid, audioPid);

    base::CScopedLock data(m_relay->DataLock());
    if (m_relay->IsRecording())
        return; // a packet thread cannot start one; only this thread, so this is not reached
    if (FAILED(m_relay->StartRecording(path, m_freeDiskSpace, folder, videoPid, audioPid))) {
        // The folder vanished or the disk refuses the file: nothing would be recorded, so no icon.
        m_recordFilePath.Empty();
        base::CScopedLock ui(m_uiLock);
        m_display.SetInfoText(0, CString(LoadLocalizedString(kRecordingFailed).c_str()));
        m_display.SetInfoText(1, CString());
        return;
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetRecordIcon(1);
}

// Device re-creation ----------------------------------------------------------------------------

void CMainFrame::CheckMonitor()
{
    HMONITOR monitor = ::MonitorFromWindow(m_hWnd, MONITOR_DEFAULTTONEAREST);
    if (monitor == m_monitor || !m_renderThread)
        return;
    const int mode = m_mode;
    m_renderThread->Pause();
    m_relay->FileReleaseDevice();
    m_relay->LiveReleaseDevice();
    // An engine call takes the service lock: never under a frame lock.
    if (m_engine)
        m_engine->ShowTeletext(false, 0, false);
    bool created;
    {
        base::CScopedLock ui(m_uiLock);
        m_display.DeleteChildren();
        m_display.Reset();
        m_epg.DropTexts(); // the guide's texts were drawn on the old device
        m_d3d.ReleaseDevice();
        created = SUCCEEDED(m_d3d.Create(m_hWnd, m_hWnd));
        if (created) {
            m_display.SetListener(this);
            m_display.SetHost(this);
            m_display.SetVideoSource(this);
            m_display.SetGuideModel(&m_epg);
            m_display.SetPanelFrame(this);
            m_display.Create(&m_d3d);
            m_display.SetChannelLogo(nullptr);
            // The new OSD shows the guide's window and the on-top state at once, as the old one did.
            UpdateGuideHeader();
            ShowOnTopState();
            // Without a device the OSD stays empty and the monitor unknown: the next move retries.
            m_monitor = monitor;
        }
    }
    CRect client;
    GetClientRect(&client);
    Resize(client.Width(), client.Height());
    if (!created)
        return;
    m_mode = ModeTransitional;
    SetMode(mode);
    {
        base::CScopedLock ui(m_uiLock);
        if (mode == ModeIdle)
            m_display.ShowBackground(true);
        m_display.OnMouseMove(0, 1, client.bottom - 1);
        m_relay->LiveRestoreDevice();
        m_relay->FileRestoreDevice();
    }
    {
        base::CScopedLock data(m_relay->DataLock());
        if (m_relay->IsRecording()) {
            base::CScopedLock ui(m_uiLock);
            m_display.SetRecordIcon(0);
            m_display.SetRecordIcon(1);
        }
    }
    m_renderThread->Run();
}

void CMainFrame::Resize(int cx, int cy)
{
    base::CScopedLock ui(m_uiLock);
    m_d3d.SetClientSize(cx, cy);
    m_display.SetSize(cx, cy);
}

// Small operations ------------------------------------------------------------------------------

void CMainFrame::SignalRender()
{
    if (HANDLE event = m_d3d.GetRenderEvent())
        ::SetEvent(event);
}

void CMainFrame::SetVideoFormat(int width, int height, double sourceAspect)
{
    // A presenter's streaming thread: the OSD is set on the user-interface thread (2027), since
    // taking m_uiLock here would wait on the render thread while it waits on this device.
    if (!(sourceAspect > 0) || !std::isfinite(sourceAspect) || width <= 0 || height <= 0)
        return;
    {
        base::CScopedLock format(m_formatLock);
        m_videoWidth = width;
        m_videoHeight = height;
        m_sourceAspect = sourceAspect;
    }
    if (m_hWnd)
        PostMessage(WM_QOR_ASPECT_CHANGED);
}

void CMainFrame::OnAspectChanged()
{
    float aspect;
    {
        base::CScopedLock format(m_formatLock);
        m_aspect = m_aspectMode == AspectSource ? m_sourceAspect
                   : m_aspectMode == Aspect4x3  ? 4.0 / 3.0
                   : m_aspectMode == Aspect16x9 ? 16.0 / 9.0
                                                : 1.0;
        aspect = static_cast<float>(m_aspect);
    }
    base::CScopedLock ui(m_uiLock);
    m_display.SetAspect(aspect);
}

void CMainFrame::SetInfoText(const CString& left, const CString& right, float value)
{
    base::CScopedLock ui(m_uiLock);
    m_display.SetInfoText(0, left);
    m_display.SetInfoText(1, right);
    m_display.SetProgress(value);
}

void CMainFrame::PostPointerMessage(float x, float y)
{
    PostMessage(WM_QOR_POINTER, static_cast<WPARAM>(static_cast<int>(x * 10000)),
                static_cast<LPARAM>(static_cast<int>(y * 10000)));
}

void CMainFrame::PostClose()
{
    PostMessage(WM_CLOSE);
}

bool CMainFrame::TeletextClick(int, UINT, float x, float y)
{
    bool followed = false;
    if (m_engine)
        m_engine->TeletextClick(x, y, &followed);
    return followed;
}

HRESULT CMainFrame::SeekFile(int, double fraction)
{
    if (m_mode != ModeFile)
        return m_mode - 1;
    return m_relay->FileSeek(fraction);
}

CString CMainFrame::GetFileExtension(const CString& path)
{
    return CString(::PathFindExtensionW(path));
}

void CMainFrame::SortByCreationTime(CArray<CString, const CString&>& paths)
{
    struct Entry {
        CString path;
        uint64_t created;
    };
    std::vector<Entry> entries;
    for (int i = 0; i < paths.GetSize(); ++i) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        uint64_t created = 0;
        if (::GetFileAttributesExW(paths[i], GetFileExInfoStandard, &data))
            created = static_cast<uint64_t>(data.ftCreationTime.dwHighDateTime) << 32 | data.ftCreationTime.dwLowDateTime;
        entries.push_back({paths[i], created});
    }
    std::stable_sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) { return a.created > b.created; });
    for (size_t i = 0; i < entries.size(); ++i)
        paths[static_cast<int>(i)] = entries[i].path;
}
