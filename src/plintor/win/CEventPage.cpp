#include "plintor/win/CEventPage.h"

#include <algorithm>

#include "framework/win/CFileDialog.h"
#include "plintor/RecordingEntry.h"
#include "plintor/win/LoadUiString.h"
#include "plintor/win/LocalTime.h"
#include "resource.h"

using DVBPlaybackCore::CQORService;
using DVBPlaybackCore::CServices;

namespace {

// Sunday first, as the weekday mask counts.
const int kWeekDayIds[7] = {IDC_EVENT_SUNDAY,   IDC_EVENT_MONDAY, IDC_EVENT_TUESDAY,  IDC_EVENT_WEDNESDAY,
                            IDC_EVENT_THURSDAY, IDC_EVENT_FRIDAY, IDC_EVENT_SATURDAY};
const int kSourceIds[3] = {IDC_EVENT_FAVOURITES, IDC_EVENT_TV, IDC_EVENT_RADIO};

std::u16string U16(const CString& text)
{
    return std::u16string(reinterpret_cast<const char16_t*>(text.GetString()));
}

} // namespace

BEGIN_MESSAGE_MAP(CEventPage, CDialog)
    ON_BN_CLICKED(IDC_EVENT_FAVOURITES, OnFavourites)
    ON_BN_CLICKED(IDC_EVENT_TV, OnTV)
    ON_BN_CLICKED(IDC_EVENT_RADIO, OnRadio)
    ON_BN_CLICKED(IDC_EVENT_LAYOUT, OnLayout)
    ON_BN_CLICKED(IDC_EVENT_BROWSE, OnBrowse)
    ON_CBN_SELCHANGE(IDC_EVENT_REPEAT, OnRepeatChange)
    ON_NOTIFY(UDN_DELTAPOS, IDC_EVENT_SPIN, OnIntervalDelta)
END_MESSAGE_MAP()

CEventPage::CEventPage(CServices& services, const CScheduledRecordings& records, CScheduledRecording* record)
    : CDialog(IDD_EVENT), m_services(services), m_records(records), m_record(record)
{
}

void CEventPage::DoDataExchange(CDataExchange* dx)
{
    for (int i = 0; i < 3; ++i)
        DDX_Control(dx, kSourceIds[i], m_sources[i]);
    DDX_Control(dx, IDC_EVENT_CHANNEL, m_channelBox);
    DDX_Control(dx, IDC_EVENT_DATE, m_date);
    DDX_Control(dx, IDC_EVENT_START, m_startTime);
    DDX_Control(dx, IDC_EVENT_END, m_endTime);
    DDX_Control(dx, IDC_EVENT_LAYOUT, m_layout);
    DDX_Control(dx, IDC_EVENT_PATH, m_path);
    DDX_Control(dx, IDC_EVENT_CLOSE_AFTER, m_closeAfter);
    DDX_Control(dx, IDC_EVENT_REPEAT, m_repeat);
    DDX_Control(dx, IDC_EVENT_INTERVAL, m_intervalField);
    DDX_Control(dx, IDC_EVENT_SPIN, m_spin);
    for (int i = 0; i < 7; ++i)
        DDX_Control(dx, kWeekDayIds[i], m_weekDays[i]);
}

void CEventPage::SetTexts()
{
    static const struct {
        int control;
        UINT text;
    } texts[] = {
        {IDC_EVENT_CHANNEL_GROUP, IDS_CHOOSE_CHANNEL}, {IDC_EVENT_TIME_GROUP, IDS_CHOOSE_TIME},
        {IDC_EVENT_PATH_GROUP, IDS_CUSTOMIZE_PATH},    {IDC_EVENT_MISC_GROUP, IDS_MISCELLANEOUS},
        {IDC_EVENT_REPEAT_GROUP, IDS_REGULAR_RECORDING}, {IDC_EVENT_FAVOURITES, IDS_SOURCE_FAVOURITES},
        {IDC_EVENT_TV, IDS_SOURCE_TV},                 {IDC_EVENT_RADIO, IDS_SOURCE_RADIO},
        {IDC_EVENT_START_LABEL, IDS_START_TIME},       {IDC_EVENT_END_LABEL, IDS_END_TIME},
        {IDOK, IDS_OK},                                {IDCANCEL, IDS_CANCEL},
        {IDC_EVENT_BROWSE, IDS_BROWSE},                {IDC_EVENT_CLOSE_AFTER, IDS_CLOSE_AFTER},
    };
    for (const auto& entry : texts)
        SetDlgItemText(entry.control, LoadUiString(entry.text));
    for (int i = 0; i < 7; ++i)
        m_weekDays[i].SetWindowText(LoadUiString(IDS_SUNDAY + i));
    SetWindowText(LoadUiString(IDS_ADD_RECORDING));
}

BOOL CEventPage::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetTexts();

    wchar_t format[101] = {};
    ::GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_STIMEFORMAT, format, 100);
    const std::u16string timeFormat =
        plintor::TimeFormatWithoutSeconds(std::u16string(reinterpret_cast<const char16_t*>(format)));
    m_startTime.SetFormat(reinterpret_cast<const wchar_t*>(timeFormat.c_str()));
    m_endTime.SetFormat(reinterpret_cast<const wchar_t*>(timeFormat.c_str()));

    for (UINT kind = IDS_ONCE; kind <= IDS_WEEKLY; ++kind)
        m_repeat.AddString(LoadUiString(kind));
    m_spin.SetRange32(1, 1000);

    bool repeatSet = false;
    if (m_record) {
        const DVBPlaybackCore::CTask& task = m_record->task;
        m_advanced = !task.GetCreator().empty() && task.GetCreator()[0] == u'A';
        m_transportStreamId = task.GetTransportStreamId();
        m_serviceId = task.GetServiceId();
        m_description = task.GetComment();
        m_closeAfter.SetCheck(task.GetCloseAfter() ? BST_CHECKED : BST_UNCHECKED);
        const uint32_t key = CServices::KeyOf(m_transportStreamId, m_serviceId);
        bool found = false;
        for (int source = kFavourites; source <= kRadio && !found; ++source) {
            SetSource(source);
            for (size_t i = 0; i < m_channels.size(); ++i) {
                if (m_channels[i]->GetKey() == key) {
                    m_channelBox.SetCurSel(static_cast<int>(i));
                    found = true;
                    break;
                }
            }
        }
        if (!found) {
            m_channelBox.ResetContent();
            m_channels.clear();
            m_channelBox.SetCurSel(m_channelBox.AddString(LoadUiString(IDS_CHANNEL_GONE)));
            for (CButton& button : m_sources)
                button.SendMessage(BM_SETSTATE, FALSE);
        }
        const SYSTEMTIME start = LocalTimeOf(task.GetStart());
        m_date.SetTime(start);
        m_startTime.SetTime(start);
        m_endTime.SetTime(LocalTimeOf(task.GetStart() + task.GetDuration()));
        // The path field is filled in both layouts: OK writes its text, and a record edited in
        // the simple layout would otherwise lose its file.
        m_path.SetWindowText(reinterpret_cast<const wchar_t*>(task.GetFilePath().c_str()));
        if (m_advanced) {
            const uint32_t kind = task.GetTriggerType();
            if (kind <= DVBPlaybackCore::CTask::kWeekly) {
                m_repeat.SetCurSel(static_cast<int>(kind));
                repeatSet = true;
            }
            if (kind != DVBPlaybackCore::CTask::kOnce)
                m_interval = task.GetInterval() > 0 ? task.GetInterval() : 1;
            if (kind == DVBPlaybackCore::CTask::kWeekly) {
                for (int i = 0; i < 7; ++i)
                    m_weekDays[i].SetCheck(task.GetWeekDays() & (1u << i) ? BST_CHECKED : BST_UNCHECKED);
            }
        }
    } else {
        SYSTEMTIME now{};
        ::GetLocalTime(&now);
        for (int i = 0; i < 7; ++i)
            m_weekDays[i].SetCheck(i == now.wDayOfWeek ? BST_CHECKED : BST_UNCHECKED);
        SetSource(kFavourites);
        // The next full hour and the hour after; after 23:00 that is tomorrow's midnight, so the
        // date moves with it rather than pointing at a past hour of today.
        SYSTEMTIME hour = now;
        hour.wMinute = hour.wSecond = hour.wMilliseconds = 0;
        SYSTEMTIME start = hour, end = hour;
        FILETIME file{};
        if (::SystemTimeToFileTime(&hour, &file)) {
            ULARGE_INTEGER ticks{{file.dwLowDateTime, file.dwHighDateTime}};
            const uint64_t oneHour = 3600ull * 10000000ull;
            for (SYSTEMTIME* time : {&start, &end}) {
                ticks.QuadPart += oneHour;
                FILETIME next{ticks.LowPart, ticks.HighPart};
                ::FileTimeToSystemTime(&next, time);
            }
        }
        m_date.SetTime(start);
        m_startTime.SetTime(start);
        m_endTime.SetTime(end);
    }
    if (!repeatSet)
        m_repeat.SetCurSel(0);
    UpdateRepeat();
    SetAdvanced(m_advanced);
    CenterWindow();
    return TRUE;
}

void CEventPage::SetSource(int source)
{
    m_channelBox.ResetContent();
    m_channels.clear();
    for (int i = 0; i < 3; ++i)
        m_sources[i].SendMessage(BM_SETSTATE, i == source);
    uint64_t version = 0;
    if (source == kFavourites)
        m_services.GetFavouriteServices(m_channels, false, version);
    else if (source == kTV)
        m_services.GetTVServices(m_channels, false, version);
    else
        m_services.GetRadioServices(m_channels, false, version);
    for (size_t i = 0; i < m_channels.size(); ++i) {
        const int number = source == kFavourites ? static_cast<int>(i) + 1
                                                 : (source == kTV ? 1000 : 5000) + m_channels[i]->GetChannelNumber();
        const std::u16string name = m_channels[i]->GetName();
        CString entry;
        entry.Format(L"%d. %s", number, reinterpret_cast<const wchar_t*>(name.c_str()));
        m_channelBox.AddString(entry);
    }
    m_channelBox.SetCurSel(0);
}

void CEventPage::SetAdvanced(bool advanced)
{
    m_advanced = advanced;
    SetWindowPos(nullptr, 0, 0, advanced ? kAdvancedWidth : kSimpleWidth, kHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    m_layout.SetWindowText(LoadUiString(advanced ? IDS_SIMPLE : IDS_ADVANCED));
}

void CEventPage::UpdateRepeat()
{
    const int kind = m_repeat.GetCurSel();
    const bool every = kind == 1 || kind == 2;
    for (int id : {IDC_EVENT_EVERY, IDC_EVENT_INTERVAL, IDC_EVENT_SPIN, IDC_EVENT_UNIT})
        ::ShowWindow(::GetDlgItem(m_hWnd, id), every ? SW_SHOW : SW_HIDE);
    for (CButton& day : m_weekDays)
        day.ShowWindow(kind == 2 ? SW_SHOW : SW_HIDE);
    ::SetWindowPos(::GetDlgItem(m_hWnd, IDC_EVENT_REPEAT_GROUP), nullptr, 0, 0, 350, kind == 2 ? 115 : 71,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const int form = plintor::PluralForm(m_interval) - 1;
    SetDlgItemText(IDC_EVENT_EVERY, LoadUiString(IDS_EVERY_FIRST + form));
    SetDlgItemText(IDC_EVENT_UNIT, LoadUiString((kind == 2 ? IDS_WEEK_FIRST : IDS_DAY_FIRST) + form));
    CString number;
    number.Format(L"%u", static_cast<unsigned>(m_interval));
    m_intervalField.SetWindowText(number);
    m_spin.SetPos32(m_interval);
}

void CEventPage::OnIntervalDelta(NMHDR* header, LRESULT* result)
{
    const int delta = reinterpret_cast<NMUPDOWN*>(header)->iDelta;
    const int interval = std::min(1000, std::max(1, static_cast<int>(m_interval) + delta));
    m_interval = static_cast<uint16_t>(interval);
    UpdateRepeat();
    *result = 1; // the field shows the interval; the control's own position does not count
}

void CEventPage::OnBrowse()
{
    CFileDialog dialog(FALSE, L".mpg", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LoadUiString(IDS_MPEG_FILTER),
                       this);
    if (dialog.DoModal() == IDOK)
        m_path.SetWindowText(dialog.GetPathName());
}

std::vector<std::u16string> CEventPage::TakenNames() const
{
    std::vector<std::u16string> names;
    for (const auto& record : m_records)
        names.push_back(record->task.GetTaskName());
    wchar_t folder[MAX_PATH] = {};
    ::GetWindowsDirectoryW(folder, MAX_PATH);
    const std::wstring pattern = std::wstring(folder) + L"\\Tasks\\QORSR_*.job";
    WIN32_FIND_DATAW found;
    HANDLE search = ::FindFirstFileW(pattern.c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            name.resize(name.size() - 4); // ".job"
            names.emplace_back(name.begin(), name.end());
        } while (::FindNextFileW(search, &found));
        ::FindClose(search);
    }
    return names;
}

void CEventPage::OnOK()
{
    const int chosen = m_channelBox.GetCurSel();
    if (m_channels.empty() || chosen < 0 || static_cast<size_t>(chosen) >= m_channels.size())
        return;
    uint16_t weekDays = 0;
    for (int i = 0; i < 7; ++i)
        weekDays |= m_weekDays[i].GetCheck() == BST_CHECKED ? static_cast<uint16_t>(1u << i) : 0;
    plintor::CRecordingRepeat repeat;
    if (!plintor::ComposeRepeat(m_advanced, m_repeat.GetCurSel(), m_interval, weekDays, &repeat))
        return; // weekly without a weekday stays open

    CScheduledRecording* record = m_record;
    if (!record) {
        m_created = std::make_unique<CScheduledRecording>();
        record = m_created.get();
        // A name no record or job has: the tick count alone repeats after a restart.
        record->task.SetTaskName(plintor::FreeJobName(::GetTickCount(), TakenNames()));
    }
    record->changed = true;
    wchar_t module[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring folder = module;
    folder.resize(folder.rfind(L'\\') == std::wstring::npos ? 0 : folder.rfind(L'\\'));
    const std::wstring program = folder + L"\\Tolvik.exe";
    record->task.SetApplicationName(std::u16string(program.begin(), program.end()));

    CQORService* channel = m_channels[static_cast<size_t>(chosen)];
    SYSTEMTIME date{}, startTime{}, endTime{};
    m_date.GetTime(&date);
    m_startTime.GetTime(&startTime);
    m_endTime.GetTime(&endTime);
    SYSTEMTIME start = date;
    start.wHour = startTime.wHour;
    start.wMinute = startTime.wMinute;
    start.wSecond = start.wMilliseconds = 0;
    const int64_t startUtc = UtcOf(start);
    const int64_t duration = plintor::RecordingDuration(startTime.wHour * 3600 + startTime.wMinute * 60,
                                                        endTime.wHour * 3600 + endTime.wMinute * 60);

    std::u16string description = m_description;
    if (channel->GetTransportStreamId() != m_transportStreamId || channel->GetServiceId() != m_serviceId) {
        CString text;
        text.Format(L"%s %s", reinterpret_cast<const wchar_t*>(channel->GetName().c_str()),
                    LoadUiString(IDS_RECORDING_WORD).GetString());
        description = U16(text);
    }
    CString path;
    m_path.GetWindowText(path);
    record->task.SetRecording(channel->GetTransportStreamId(), channel->GetServiceId(), startUtc, duration, U16(path),
                              m_advanced && m_closeAfter.GetCheck() == BST_CHECKED);
    record->task.SetTriggerType(repeat.kind);
    record->task.SetInterval(repeat.interval);
    auto day = [&](int bit) { return (repeat.weekDays & (1u << bit)) != 0; };
    record->task.SetWeekDays(day(0), day(1), day(2), day(3), day(4), day(5), day(6));
    if (m_advanced && !path.IsEmpty())
        description = plintor::DescriptionFromPath(U16(path));
    record->task.SetComment(description);
    record->task.SetCreator(m_advanced ? u"A" : u"S");
    EndDialog(IDOK);
}
