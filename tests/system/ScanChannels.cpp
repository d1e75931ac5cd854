// Makes the channel list as a user does: starts the configurator, scans with its wizard, ticks
// nothing off, presses Finish and Apply (the list is saved beside the configurator) and closes it.
// For the end-to-end test and the run command.
//
//   scan_channels.exe PLINTOR terrestrial MHZ BANDWIDTH   a DVB-T frequency typed in by hand
//   scan_channels.exe PLINTOR network NAME [GROUP PORT]   the multicast source announced as NAME
// Prints "PROVIDER: CHANNEL" lines of what the scan found. Then, the program windows showing no
// stream PIDs, the configurator's scan code runs once more in this process on the same source (the
// first DVB-T tuner, as the wizard takes it, or GROUP:PORT) and prints "pids SID: PID ..." for each
// channel record it fills: the PIDs learnt from the PMT (the chosen video and teletext stream,
// every audio and subtitle stream), ascending. Exit code 0 when channels were found and saved, 3
// when the scan found none (the list is left as it was), 2 when the wizard could not be driven, 1
// for bad arguments.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "ProgramWindow.h"
#include "PrintUtf8.h"
#include "ScanWizardDriver.h"
#include "dvb/DVBPlaybackCore/CQORService.h"
#include "dvb/DVBPlaybackCore/CBDATuneInfo.h"
#include "dvb/libBDA/BDALocators.h"
#include "dvb/libBDA/CBDADeviceList.h"
#include "plintor/ScanRun.h"
#include "plintor/win/CBDAScanSource.h"
#include "plintor/win/CMulticastScanSource.h"

using test::CScanWizardDriver;

namespace {

const DWORD kScanMs = 60000;
// A loaded machine may start the source after the scan's first-table wait: then once more.
const int kAttempts = 4;

int Fail(const char* what)
{
    std::fprintf(stderr, "scan_channels: %s\n", what);
    return 2;
}

// The row of the sources list that names `name`, or -1.
int SourceRow(const CScanWizardDriver& wizard, const std::wstring& name)
{
    const std::wstring text = name + L" - multicast source";
    for (int row = 0, count = wizard.ComboCount(CScanWizardDriver::kNetworks); row < count; ++row) {
        if (wizard.ComboText(CScanWizardDriver::kNetworks, row) == text)
            return row;
    }
    return -1;
}

// From the source-type step to the start of the scan; 0 when it started.
int StartScan(const CScanWizardDriver& wizard, const std::wstring& kind, wchar_t** values)
{
    const bool network = kind == L"network";
    if (!wizard.SelectRow(CScanWizardDriver::kSourceTypes,
                          network ? CScanWizardDriver::kRowNetwork : CScanWizardDriver::kRowTerrestrial) ||
        !wizard.Click(CScanWizardDriver::kNext))
        return Fail("the source type cannot be chosen");
    // With more than one device of the kind the wizard asks: the first is taken.
    if (!network && wizard.IsVisible(CScanWizardDriver::kDevices) && !wizard.Click(CScanWizardDriver::kNext))
        return Fail("the device cannot be chosen");
    if (network) {
        if (!wizard.IsVisible(CScanWizardDriver::kNetworks))
            return Fail("there is no network device");
        // Announcers repeat every few seconds.
        int row = -1;
        if (!test::WaitFor([&] { return (row = SourceRow(wizard, values[0])) > 0; }, 30000))
            return Fail("the source is not announced within 30 s");
        return wizard.Click(CScanWizardDriver::kByNetwork) && wizard.SelectCombo(CScanWizardDriver::kNetworks, row) &&
                       wizard.Click(CScanWizardDriver::kNext)
                   ? 0 : Fail("the announced source cannot be chosen");
    }
    if (!wizard.IsVisible(CScanWizardDriver::kManual) || !wizard.Click(CScanWizardDriver::kManual) ||
        !wizard.SetText(CScanWizardDriver::kField1, values[0]) || !wizard.SetText(CScanWizardDriver::kField2, values[1]))
        return Fail("the transponder cannot be typed in");
    if (!wizard.IsEnabled(CScanWizardDriver::kNext))
        return Fail("the wizard does not take the frequency and bandwidth");
    return wizard.Click(CScanWizardDriver::kNext) ? 0 : Fail("the scan does not start");
}

// Scans, prints and saves; the exit code.
int Scan(HWND frame, const std::wstring& kind, wchar_t** values)
{
    CScanWizardDriver wizard(frame);
    if (!wizard.IsReady())
        return Fail("the configurator shows no scan page");
    if (const int failed = StartScan(wizard, kind, values))
        return failed;
    // Going back refills the sources step: the source is chosen again.
    auto again = [&] {
        return wizard.Click(CScanWizardDriver::kPrevious) &&
               (kind != L"network" || wizard.SelectCombo(CScanWizardDriver::kNetworks, SourceRow(wizard, values[0]))) &&
               wizard.Click(CScanWizardDriver::kNext);
    };
    bool found = false;
    for (int attempt = 0; attempt < kAttempts && !found; ++attempt) {
        if (attempt > 0 && !again())
            return Fail("the scan cannot be started again");
        if (!wizard.WaitForScanEnd(kScanMs))
            return Fail("the scan did not end within a minute");
        found = wizard.RowCount(CScanWizardDriver::kProviders) > 0;
    }
    if (!found) {
        std::fprintf(stderr, "scan_channels: the scan found no channel\n");
        return 3;
    }
    for (int provider = 0, providers = wizard.RowCount(CScanWizardDriver::kProviders); provider < providers; ++provider) {
        wizard.SelectRow(CScanWizardDriver::kProviders, provider);
        const std::wstring name = wizard.RowText(CScanWizardDriver::kProviders, provider);
        for (int row = 0, rows = wizard.RowCount(CScanWizardDriver::kChannels); row < rows; ++row)
            test::PrintUtf8(name + L": " + wizard.RowText(CScanWizardDriver::kChannels, row));
    }
    // Finish keeps the ticked channels in the list; Apply writes the channel file.
    return wizard.Click(CScanWizardDriver::kNext) && wizard.Apply() ? 0 : Fail("Finish and Apply are not taken");
}

// The configurator's scan over `source`: "pids SID: PID ..." for every channel record it fills.
void PrintScannedPids(plintor::CScanSource& source, int sourceType)
{
    std::vector<std::unique_ptr<DVBPlaybackCore::CQORService>> found;
    base::CManualResetEvent stop;
    plintor::RunScan(source, sourceType, stop, [&](uint32_t message, uintptr_t record, intptr_t) {
        if (message == plintor::kScanRecord)
            found.emplace_back(reinterpret_cast<DVBPlaybackCore::CQORService*>(record));
        return true;
    });
    for (const auto& record : found) {
        std::set<uint16_t> pids;
        if (const libDVB::CStream* video = record->GetVideoStream())
            pids.insert(video->pid);
        if (const libDVB::CStream* teletext = record->GetTeletextStream())
            pids.insert(teletext->pid);
        std::vector<libDVB::CAudioStream> audio;
        record->GetAudioStreams(audio);
        for (const auto& stream : audio)
            pids.insert(stream.pid);
        std::vector<libDVB::CSubtitleStream> subtitles;
        record->GetSubtitleStreams(subtitles);
        for (const auto& stream : subtitles)
            pids.insert(stream.pid);
        std::printf("pids %u:", static_cast<unsigned>(record->GetServiceId()));
        for (uint16_t pid : pids)
            std::printf(" %u", static_cast<unsigned>(pid));
        std::printf("\n");
    }
    std::fflush(stdout);
}

void PrintScannedPids(const std::wstring& kind, wchar_t** values, int count)
{
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (kind == L"network" && count == 3) {
        plintor::CMulticastScanSource source({{std::u16string(values[1], values[1] + wcslen(values[1])),
                                               static_cast<uint16_t>(_wtoi(values[2]))}});
        PrintScannedPids(source, plintor::kSourceNetwork);
    } else if (kind == L"terrestrial") {
        libBDA::CBDADeviceList& devices = libBDA::GetBDADeviceList();
        for (size_t i = 0; i < devices.GetCount(); ++i) {
            if (devices.GetEntry(i)->GetNetworkType() != DVBPlaybackCore::CBDATuneInfo::kDVBT)
                continue;
            const std::wstring name = devices.GetEntry(i)->GetFriendlyName();
            IDVBTLocator* locator = libBDA::CreateDVBTLocator(_wtoi(values[0]) * 1000, _wtoi(values[1]));
            {
                plintor::CBDAScanSource source(plintor::kSourceTerrestrial, std::u16string(name.begin(), name.end()),
                                               {locator}, 0);
                PrintScannedPids(source, plintor::kSourceTerrestrial);
            }
            if (locator)
                locator->Release();
            break;
        }
    }
    CoUninitialize();
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    const std::wstring kind = argc > 2 ? argv[2] : L"";
    if (!((kind == L"terrestrial" && argc == 5) || (kind == L"network" && (argc == 4 || argc == 6)))) {
        std::fprintf(stderr, "usage: scan_channels PLINTOR terrestrial MHZ BANDWIDTH | PLINTOR network NAME [GROUP PORT]\n");
        return 1;
    }
    // Started in its own folder, where it keeps the channel file.
    const std::wstring program = argv[1];
    const std::wstring folder = program.substr(0, program.find_last_of(L"\\/") + 1);
    HANDLE process = nullptr;
    HWND frame = test::StartProgramWindow(program, folder.empty() ? nullptr : folder.c_str(), &process);
    if (!frame) {
        if (process)
            TerminateProcess(process, 1);
        return Fail("the configurator shows no window");
    }
    const int result = Scan(frame, kind, argv + 3);
    // Closed as a user closes it; the list is saved already, so an answerless end loses nothing.
    PostMessageW(frame, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process, 20000) != WAIT_OBJECT_0)
        TerminateProcess(process, 1);
    CloseHandle(process);
    if (result == 0)
        PrintScannedPids(kind, argv + 3, argc - 3);
    return result;
}
