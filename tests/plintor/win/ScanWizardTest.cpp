// The configurator's scan wizard, started for real from a folder whose name has a blank and
// driven with window messages, over the virtual tuner receiving the demo broadcast: source type,
// the device step listing both terrestrial tuners, a manual transponder, the scan, a channel
// unticked, Finish and Apply; the channel file then holds the ticked demo services with their
// tuning records (the independent reader says so); a second scan's duplicates are merged.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <fstream>
#include <vector>
#include <string>

#include "../../dvb/DVBPlaybackCore/TaskSchedulerKit.h"
#include "NetworkTestKit.h"
#include "../ProgramWindow.h"
#include "ScanWizardDriver.h"
#include "VirtualTunerClient.h"
#include "support/TestCrc.h"
#include "support/TestMedia.h"

using test::CScanWizardDriver;
using test::WaitFor;

namespace {

const wchar_t kTunerKey[] = L"Software\\Tolvik Test\\Virtual Tuner";
const wchar_t* const kFrequencies[] = {L"506000", L"11494500", L"522000"};

std::string HostSource(const std::string& relative)
{
    const std::string path = test::SourcePath(relative);
    return test::HostPath(std::wstring(path.begin(), path.end()));
}

class ScanWizard : public ::testing::Test {
protected:
    void SetUp() override
    {
        wchar_t temp[MAX_PATH] = {};
        GetTempPathW(MAX_PATH, temp);
        m_folder = std::wstring(temp) + L"scan wizard " + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(m_folder.c_str(), nullptr);
        const std::string program = test::ProgramPath("plintor.exe");
        ASSERT_TRUE(CopyFileW(std::wstring(program.begin(), program.end()).c_str(), (m_folder + L"plintor.exe").c_str(),
                              FALSE));
        // The run command's mapping, if any, comes back afterwards.
        for (const wchar_t* frequency : kFrequencies) {
            wchar_t path[MAX_PATH] = {};
            DWORD size = sizeof(path);
            if (RegGetValueW(HKEY_CURRENT_USER, kTunerKey, frequency, RRF_RT_REG_SZ, nullptr, path, &size) == ERROR_SUCCESS)
                m_mapped.emplace_back(frequency, path);
        }
        // The configurator's own process tunes: the tuner finds the file through the registry.
        const std::wstring demo = test::WidePath(test::MediaPath("demo/demo.ts"));
        RegSetKeyValueW(HKEY_CURRENT_USER, kTunerKey, L"506000", REG_SZ, demo.c_str(),
                        static_cast<DWORD>((demo.size() + 1) * sizeof(wchar_t)));
    }

    void TearDown() override
    {
        if (m_process) {
            if (WaitForSingleObject(m_process, 0) == WAIT_TIMEOUT)
                TerminateProcess(m_process, 1);
            WaitForSingleObject(m_process, 10000);
            CloseHandle(m_process);
        }
        for (const wchar_t* frequency : kFrequencies)
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kTunerKey, frequency);
        for (const auto& mapped : m_mapped)
            RegSetKeyValueW(HKEY_CURRENT_USER, kTunerKey, mapped.first.c_str(), REG_SZ, mapped.second.c_str(),
                            static_cast<DWORD>((mapped.second.size() + 1) * sizeof(wchar_t)));
        for (const wchar_t* name : {L"plintor.exe", L"channels.dat", L"peer.sh", L"peer.rc", L"peer.log", L"peer.out",
                                    L"satellites.xml", L"pat.ts"})
            DeleteFileW((m_folder + name).c_str());
        RemoveDirectoryW(m_folder.c_str());
    }

    // Started from another current folder than its own.
    HWND Start()
    {
        return test::StartProgramWindow(m_folder + L"plintor.exe", L"C:\\", &m_process);
    }

    // scan_check.py on the program's channel file: 0 when it holds the demo services but `leftOut`.
    int CheckChannelFile(const std::string& leftOut) { return RunCheck("'" + HostSource("tests/fixtures/demo/demo_channels.json") + "'", leftOut); }

    // The records of the program's channel file as "sid|tsid|name|provider|tuning records" lines.
    std::vector<std::string> ListChannelFile()
    {
        std::vector<std::string> lines;
        if (RunCheck("list", "", "peer.out") != 0)
            return lines;
        std::ifstream in(test::HostPath(m_folder) + "peer.out");
        for (std::string line; std::getline(in, line);)
            lines.push_back(line);
        std::sort(lines.begin(), lines.end());
        return lines;
    }

    int RunCheck(const std::string& first, const std::string& last, const char* out = "peer.log")
    {
        const std::string folder = test::HostPath(m_folder);
        DeleteFileW((m_folder + L"peer.rc").c_str());
        std::ofstream(folder + "peer.sh", std::ios::binary)
            << "/usr/bin/python3 '" << HostSource("tests/plintor/scan_check.py") << "' " << first << " '" << folder
            << "channels.dat' " << last << " > '" << folder << out << "' 2> '" << folder << "peer.log'\necho $? > '" << folder << "peer.rc.tmp'\nmv '" << folder
            << "peer.rc.tmp' '" << folder << "peer.rc'\n";
        if (!test::StartHostProgram("/bin/sh \"" + folder + "peer.sh\""))
            return -1;
        const std::wstring rc = m_folder + L"peer.rc";
        if (!WaitFor([&] { return GetFileAttributesW(rc.c_str()) != INVALID_FILE_ATTRIBUTES; }))
            return -1;
        int code = -1;
        std::ifstream(folder + "peer.rc") >> code;
        std::ifstream log(folder + "peer.log");
        std::cerr << log.rdbuf();
        return code;
    }

    // Waits for the scan's end (the first PAT came within its 500 ms): the demo's provider is listed.
    bool ScanFound(CScanWizardDriver& wizard)
    {
        return wizard.WaitForScanEnd(30000) && wizard.RowCount(CScanWizardDriver::kProviders) > 0;
    }

    // From the source-type step to the scan's end, a terrestrial transponder typed in by hand.
    void ScanTerrestrial(CScanWizardDriver& wizard)
    {
        ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kSourceTypes, CScanWizardDriver::kRowTerrestrial));
        ASSERT_TRUE(wizard.IsEnabled(CScanWizardDriver::kNext));
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
        // Two terrestrial tuners: the device step asks, the first taken.
        ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kDevices));
        ASSERT_EQ(wizard.RowCount(CScanWizardDriver::kDevices), 2);
        EXPECT_EQ(wizard.RowText(CScanWizardDriver::kDevices, 0), L"Virtual Tuner T/C (1)");
        EXPECT_EQ(wizard.RowText(CScanWizardDriver::kDevices, 1), L"Virtual Tuner (1)");
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
        ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kManual));
        EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB Terrestrial > Virtual Tuner T/C (1)");
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kManual));
        ASSERT_TRUE(wizard.SetText(CScanWizardDriver::kField2, L""));
        ASSERT_TRUE(wizard.SetText(CScanWizardDriver::kField1, L"506"));
        EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kNext));
        ASSERT_TRUE(wizard.SetText(CScanWizardDriver::kField2, L"8"));
        ASSERT_TRUE(wizard.IsEnabled(CScanWizardDriver::kNext));
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
        ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kChannels));
        ASSERT_TRUE(ScanFound(wizard));
        EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB Terrestrial > Virtual Tuner T/C (1) > Custom");
        EXPECT_EQ(wizard.Text(CScanWizardDriver::kNext), L"Finish");
        EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kRestart));
        ASSERT_EQ(wizard.RowCount(CScanWizardDriver::kProviders), 1);
        EXPECT_EQ(wizard.RowText(CScanWizardDriver::kProviders, 0), L"Tolvik Demo");
        ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kProviders, 0));
        ASSERT_EQ(wizard.RowCount(CScanWizardDriver::kChannels), 4);
        const wchar_t* byName[] = {L"Demo One", L"Demo Radio", L"Demo Three", L"Demo Two"};
        for (int row = 0; row < 4; ++row) {
            EXPECT_EQ(wizard.RowText(CScanWizardDriver::kChannels, row), byName[row]);
            EXPECT_TRUE(wizard.IsTicked(row));
        }
    }

    std::wstring m_folder;
    HANDLE m_process = nullptr;
    std::vector<std::pair<std::wstring, std::wstring>> m_mapped;
};

} // namespace

TEST_F(ScanWizard, TerrestrialScanFinishAndApplyWriteTheTickedDemoServices)
{
    HWND frame = Start();
    ASSERT_NE(frame, nullptr);
    CScanWizardDriver wizard(frame);
    ASSERT_TRUE(wizard.IsReady());
    // The first step: the first available row taken, Previous and Restart off.
    EXPECT_TRUE(wizard.IsVisible(CScanWizardDriver::kSourceTypes));
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kPrevious));
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kRestart));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"");

    ScanTerrestrial(wizard);
    // "Demo Three" unticked by a click on its box stays out of the list; a click beside the box
    // changes nothing.
    ASSERT_TRUE(wizard.ClickChannel(1, 40));
    ASSERT_TRUE(wizard.ClickChannel(2, 14));
    EXPECT_TRUE(WaitFor([&] { return !wizard.IsTicked(2); }, 5000));
    EXPECT_TRUE(wizard.IsTicked(1));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    // Finish brings up the "TV Channels" page, the page list's row 3, and restarts the wizard.
    HWND pages = GetDlgItem(GetDlgItem(frame, AFX_IDW_PANE_FIRST), CScanWizardDriver::kPageList);
    EXPECT_EQ(SendMessageW(pages, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED), 3);
    EXPECT_FALSE(wizard.IsVisible(CScanWizardDriver::kNext));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"");
    ASSERT_TRUE(wizard.Apply());
    EXPECT_EQ(CheckChannelFile("259"), 0);

    // A second scan, the scan page shown again: the three known ones merge into their records,
    // the fourth is added.
    wizard = CScanWizardDriver(frame);
    ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kSourceTypes));
    ScanTerrestrial(wizard);
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Apply());
    EXPECT_EQ(CheckChannelFile(""), 0);
}

// A language chosen on the General page: the wizard's buttons, the step on screen and the summary
// follow when the scan page is shown again.
TEST_F(ScanWizard, TextsFollowALanguageSwitch)
{
    HWND frame = Start();
    ASSERT_NE(frame, nullptr);
    CScanWizardDriver wizard(frame);
    ASSERT_TRUE(wizard.IsReady());
    ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kSourceTypes, CScanWizardDriver::kRowTerrestrial));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kDevices));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB Terrestrial");
    HWND form = GetDlgItem(frame, AFX_IDW_PANE_FIRST);
    HWND general = nullptr;
    for (HWND child = GetWindow(form, GW_CHILD); child && !general; child = GetWindow(child, GW_HWNDNEXT)) {
        if (GetDlgItem(child, IDC_LANGUAGE))
            general = child;
    }
    HWND languages = GetDlgItem(general, IDC_LANGUAGE);
    ASSERT_EQ(SendMessageW(languages, CB_SETCURSEL, 1, 0), 1); // Slovak
    SendMessageW(general, WM_COMMAND, MAKEWPARAM(IDC_LANGUAGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(languages));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kNext), L"Next"); // hidden pages wait until shown
    HWND pages = GetDlgItem(form, CScanWizardDriver::kPageList);
    SendMessageW(pages, WM_KEYDOWN, VK_DOWN, 0);
    SendMessageW(pages, WM_KEYDOWN, VK_UP, 0);
    ASSERT_TRUE(WaitFor([&] { return wizard.IsVisible(CScanWizardDriver::kDevices); }, 5000));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kNext), L"\u010Ealej");
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kPrevious), L"Sp\u00E4\u0165");
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kRestart), L"Znova");
    EXPECT_EQ(wizard.Text(IDC_DEVICE_TEXT), L"Vyberte zariadenie, ktor\u00FDm sa bude h\u013Eada\u0165");
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB pozemn\u00E1");
    EXPECT_EQ(wizard.RowCount(CScanWizardDriver::kDevices), 2);
}

// The network device: ffmpeg sends the two-programme stream to one group over UDP and to another
// in RTP; announcements name both. "All sources" scans the two groups; an announcement that
// arrives and one that is withdrawn during the scan change the hidden step's rows only.
TEST_F(ScanWizard, MulticastAllSourcesFindsFfmpegsPrograms)
{
    test::CUnixPeer udp("wizard_udp");
    test::CUnixPeer rtp("wizard_rtp");
    const std::string input = "ffmpeg -nostdin -loglevel error -re -stream_loop -1 -i " +
                              test::UnixMediaPath("multicast.ts") +
                              " -map 0 -c copy -program 'program_num=301:title=Nord Eins:st=0:st=1'"
                              " -program 'program_num=302:title=S\xC3\xBC" "d Zwei:st=2:st=3'"
                              " -mpegts_transport_stream_id 0x0456 -f ";
    ASSERT_TRUE(udp.Start(input + "mpegts 'udp://239.1.4.20:5060?pkt_size=1316'"));
    ASSERT_TRUE(rtp.Start(input + "rtp_mpegts 'rtp://239.1.4.21:5062'"));

    HWND frame = Start();
    ASSERT_NE(frame, nullptr);
    CScanWizardDriver wizard(frame);
    ASSERT_TRUE(wizard.IsReady());
    ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kSourceTypes, CScanWizardDriver::kRowNetwork));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    // One network device: no device step, none in the summary.
    ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kNetworks));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"Network device");

    const std::string alpha = "v=0\r\ns=Alpha\r\nc=IN IP4 239.1.4.20/8\r\nt=0 0\r\nm=video 5060 udp mpeg\r\n";
    test::SendAnnouncement(alpha, 0x1001);
    test::SendAnnouncement("v=0\r\ns=Beta\r\nc=IN IP4 239.1.4.21/8\r\nt=0 0\r\nm=video 5062 rtp mpeg\r\n", 0x1002);
    ASSERT_TRUE(WaitFor([&] { return wizard.ComboCount(CScanWizardDriver::kNetworks) == 5; }, 10000));
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kNetworks, 0), L"--- Select ---");
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kNetworks, 1), L"Alpha - multicast source");
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kNetworks, 2), L"Beta - multicast source");
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kNetworks, 4), L"All sources");
    EXPECT_TRUE(wizard.IsVisible(IDC_TUNE_UPDATED)); // "Networks updated!"
    // The step opened without sources, in manual mode, which a refresh keeps.
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kNetworks));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kByNetwork));
    // The separator cannot be taken; "All sources" can.
    ASSERT_TRUE(wizard.SelectCombo(CScanWizardDriver::kNetworks, 3));
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.SelectCombo(CScanWizardDriver::kNetworks, 4));
    ASSERT_TRUE(wizard.IsEnabled(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"Network device > All sources");

    // ffmpeg may take a moment before its first datagrams: Previous and Next scan again, the
    // earlier results emptied first.
    for (int attempt = 0; attempt < 4; ++attempt) {
        if (attempt == 0) {
            // Mid-scan, a third source: the hidden step refills its rows, Finish stays off.
            test::SendAnnouncement("v=0\r\ns=Gamma\r\nc=IN IP4 239.1.4.22/8\r\nt=0 0\r\nm=video 5064 udp mpeg\r\n",
                                   0x1003);
            ASSERT_TRUE(WaitFor([&] { return wizard.ComboCount(CScanWizardDriver::kNetworks) == 6; }, 10000));
            // and the first source withdrawn: the scan keeps its own copy of the groups.
            test::SendAnnouncement(alpha, 0x1001, true);
            ASSERT_TRUE(WaitFor([&] { return wizard.ComboCount(CScanWizardDriver::kNetworks) == 5; }, 10000));
            // Read in this order: the scan's end disables Stop before it enables Finish.
            const bool finish = wizard.IsEnabled(CScanWizardDriver::kNext);
            const bool stop = wizard.IsEnabled(CScanWizardDriver::kScanStop);
            EXPECT_FALSE(finish && stop);
        }
        ASSERT_TRUE(wizard.WaitForScanEnd(60000));
        ASSERT_TRUE(wizard.RowCount(CScanWizardDriver::kProviders) <= 1);
        if (wizard.RowCount(CScanWizardDriver::kProviders) == 1) {
            ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kProviders, 0));
            if (wizard.RowCount(CScanWizardDriver::kChannels) == 3)
                break;
        }
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kPrevious));
        test::SendAnnouncement(alpha, 0x1001);
        ASSERT_TRUE(WaitFor([&] { return wizard.ComboCount(CScanWizardDriver::kNetworks) == 6; }, 10000));
        ASSERT_TRUE(wizard.SelectCombo(CScanWizardDriver::kNetworks, 5));
        ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    }
    udp.Stop();
    rtp.Stop();
    ASSERT_EQ(wizard.RowCount(CScanWizardDriver::kChannels), 3);
    EXPECT_EQ(wizard.RowText(CScanWizardDriver::kProviders, 0), L"FFmpeg");
    EXPECT_EQ(wizard.RowText(CScanWizardDriver::kChannels, 0), L"Nord Eins");
    EXPECT_EQ(wizard.RowText(CScanWizardDriver::kChannels, 2), L"S\u00FCd Zwei");
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Apply());
    const std::vector<std::string> records = ListChannelFile();
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0], "1|1|Service01|FFmpeg|239.1.4.21:5062");
    EXPECT_EQ(records[1], "301|1110|Nord Eins|FFmpeg|239.1.4.20:5060");
    EXPECT_EQ(records[2], "302|1110|S\xC3\xBC" "d Zwei|FFmpeg|239.1.4.20:5060");
}

namespace {

// A stream of PATs only: one programme whose map never comes.
void WritePatOnly(const std::string& path)
{
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 16; ++i) {
        uint8_t packet[188];
        std::fill(packet, packet + 188, 0xFF);
        const uint8_t head[] = {0x47, 0x40, 0x00, static_cast<uint8_t>(0x10 | (i & 0x0F)), 0x00, 0x00, 0xB0, 0x0D, 0x04,
                                0x21, 0xC1, 0x00, 0x00, 0x01, 0x01, 0xE1, 0x00};
        std::copy(head, head + sizeof(head), packet);
        const uint32_t crc = test::MpegCrc32(packet + 5, 12);
        for (int k = 0; k < 4; ++k)
            packet[17 + k] = static_cast<uint8_t>(crc >> (24 - 8 * k));
        out.write(reinterpret_cast<const char*>(packet), 188);
    }
}

} // namespace

// A satellite network of the program folder's "satellites.xml", DiSEqC mode 4: the demo services
// come with the satellite tuner's records and the mode; then a transponder sending PATs only: Stop
// during the programme-map wait returns at once, and the scan after it starts empty.
TEST_F(ScanWizard, SatelliteNetworkWithDiSEqCThenStopDuringTheMapWait)
{
    std::ofstream(test::HostPath(m_folder) + "satellites.xml") << R"(<?xml version="1.0"?>
<data><satellites><sat name="Demo S">
  <transponder polarization="2" symbol_rate="27500" frequency="11200000"/>
  <transponder polarization="1" symbol_rate="27500" frequency="11494500"/>
</sat></satellites></data>)";
    const std::wstring demo = test::WidePath(test::MediaPath("demo/demo.ts"));
    RegSetKeyValueW(HKEY_CURRENT_USER, kTunerKey, L"11494500", REG_SZ, demo.c_str(),
                    static_cast<DWORD>((demo.size() + 1) * sizeof(wchar_t)));
    WritePatOnly(test::HostPath(m_folder) + "pat.ts");
    const std::wstring pat = m_folder + L"pat.ts";
    RegSetKeyValueW(HKEY_CURRENT_USER, kTunerKey, L"522000", REG_SZ, pat.c_str(),
                    static_cast<DWORD>((pat.size() + 1) * sizeof(wchar_t)));

    HWND frame = Start();
    ASSERT_NE(frame, nullptr);
    CScanWizardDriver wizard(frame);
    ASSERT_TRUE(wizard.IsReady());
    ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kSourceTypes, CScanWizardDriver::kRowSatellite));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    // The one satellite tuner is taken without asking.
    ASSERT_TRUE(wizard.IsVisible(CScanWizardDriver::kNetworks));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB Satellite > Virtual Tuner S");
    ASSERT_EQ(wizard.ComboCount(CScanWizardDriver::kNetworks), 2);
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kNetworks, 1), L"Demo S");
    ASSERT_TRUE(wizard.SelectCombo(CScanWizardDriver::kNetworks, 1));
    ASSERT_TRUE(wizard.SelectCombo(CScanWizardDriver::kDiSEqC, 4));
    EXPECT_EQ(wizard.ComboText(CScanWizardDriver::kDiSEqC, 4), L"PosB/OptA");
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(ScanFound(wizard));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kSummary), L"DVB Satellite > Virtual Tuner S > Demo S");
    ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kProviders, 0));
    ASSERT_EQ(wizard.RowCount(CScanWizardDriver::kChannels), 4);
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Apply());
    const std::vector<std::string> records = ListChannelFile();
    ASSERT_EQ(records.size(), 4u);
    EXPECT_EQ(records[0], "257|1057|Demo One|Tolvik Demo|Virtual Tuner S:4");
    EXPECT_EQ(records[3], "260|1057|Demo Radio|Tolvik Demo|Virtual Tuner S:4");

    // Terrestrial, by hand, on the transponder of PATs only.
    ASSERT_TRUE(wizard.SelectRow(CScanWizardDriver::kSourceTypes, CScanWizardDriver::kRowTerrestrial));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kManual));
    ASSERT_TRUE(wizard.SetText(CScanWizardDriver::kField1, L"522"));
    ASSERT_TRUE(wizard.SetText(CScanWizardDriver::kField2, L"8"));
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kNext));
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kScanStop), L"Stop");
    EXPECT_EQ(wizard.RowCount(CScanWizardDriver::kProviders), 0);
    // Still running after a second: the PAT came (else the entry ends after 500 ms) and the
    // scan waits for the programme map. A loaded machine may miss the PAT: then once more.
    bool waiting = false;
    for (int attempt = 0; attempt < 4 && !waiting; ++attempt) {
        waiting = !wizard.WaitForScanEnd(1000);
        if (!waiting) {
            ASSERT_TRUE(wizard.Click(CScanWizardDriver::kPrevious) && wizard.Click(CScanWizardDriver::kNext));
        }
    }
    ASSERT_TRUE(waiting);
    const ULONGLONG pressed = GetTickCount64();
    ASSERT_TRUE(wizard.Click(CScanWizardDriver::kScanStop));
    const ULONGLONG stopped = GetTickCount64() - pressed;
    EXPECT_LT(stopped, 200u);
    ASSERT_TRUE(wizard.WaitForScanEnd(5000));
    EXPECT_EQ(wizard.RowCount(CScanWizardDriver::kProviders), 0);
    EXPECT_EQ(wizard.Text(CScanWizardDriver::kScanStop), L"Scan");
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kScanStop));
    EXPECT_FALSE(wizard.IsEnabled(CScanWizardDriver::kRestart));
}
