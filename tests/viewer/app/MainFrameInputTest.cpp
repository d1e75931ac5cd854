// The frame driven through its window as a keyboard drives it (SendInput, the window in front, its
// messages translated as the program's loop does): the main menu opened by key and travelled with
// the arrows; a channel picked from each list on each road, then the next and previous channel;
// channel numbers typed one after another. The channels play without a device.
#include <gtest/gtest.h>

#include <winsock2.h> // the main frame's multicast parts need it before <windows.h>
#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

#include "MainFrameFixture.h"
#include "support/TestMedia.h"
#include "viewer/MainFrm.h"
#include "viewer/panels/CQORChannelsPanel.h"

namespace {

class CInputTestApp : public CWinApp {
public:
    CInputTestApp() : CWinApp(L"qor") {}
} g_app;

// The channel file of the fixture: service_id by list, in list order (transport_stream_id 16).
constexpr uint16_t kTsid = 16;
constexpr uint16_t kAlpha = 1, kBravo = 2, kCharlie = 3, kRadioOne = 11, kRadioTwo = 12;
struct List {
    const char* name;
    int kind; // of the channel list and the guide: 0 favourites, 1 TV, 2 radio
    std::vector<uint16_t> services;
    std::vector<const char*> typed; // the number that lists the channel first in the tune panel
};
const List kFavourites{"favourites", 0, {kCharlie, kAlpha, kRadioTwo}, {"1", "2", "3"}};
const List kTV{"TV", 1, {kAlpha, kBravo, kCharlie}, {"1001", "1002", "1004"}}; // numbers 1, 2 and 4
const List kRadio{"radio", 2, {kRadioOne, kRadioTwo}, {"5001", "5002"}};

// No live graph: the channels play into nothing.
class CNoGraphRelay : public CLiveRelay {
public:
    using CLiveRelay::CLiveRelay;
    HRESULT LiveBuildGraph() override { return S_OK; }
    void LiveDestroyGraph() override {}
};

// The frame without a live graph; it keeps the guide rows the engine gives it and the channels the
// engine reports playing, and counts the keys its window has handled.

class CInputFrame : public CMainFrame {
public:
    CInputFrame() : CMainFrame(test::MakeRelay<CNoGraphRelay>) {}
    struct Row {
        uint32_t keyLow, keyHigh;
    };
    std::vector<Row> rows;
    unsigned keysHandled = 0;
    std::vector<uint16_t> Played()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        return m_played;
    }
    void ForgetPlayed()
    {
        std::lock_guard<std::mutex> lock(m_lock);
        m_played.clear();
    }

    BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override
    {
        const BOOL handled = CMainFrame::OnWndMsg(message, wParam, lParam, result);
        if (message == WM_KEYUP)
            ++keysHandled;
        return handled;
    }
    HRESULT AddEPGChannel(const std::u16string* name, uint32_t keyLow, uint32_t keyHigh, EPGChannel* channel) override
    {
        rows.push_back({keyLow, keyHigh});
        return CMainFrame::AddEPGChannel(name, keyLow, keyHigh, channel);
    }
    HRESULT OnServiceUpdated(CQORService* service) override
    {
        if (service) {
            // One play reports the channel more than once: a change of channel is kept.
            std::lock_guard<std::mutex> lock(m_lock);
            if (m_played.empty() || m_played.back() != service->GetServiceId())
                m_played.push_back(service->GetServiceId());
        }
        return CMainFrame::OnServiceUpdated(service);
    }

private:
    std::mutex m_lock;
    std::vector<uint16_t> m_played;
};

class MainFrameInputTest : public test::MainFrameFixture<CInputFrame> {
protected:
    void SetUp() override
    {
        CString channels;
        for (char c : test::MediaPath("channels_stepping/channels.dat"))
            channels += static_cast<wchar_t>(c);
        ASSERT_NO_FATAL_FAILURE(
            OpenFrame(g_app, L"tolvik_input_", L"Harvo\\TolvikInputTest", L"input test", false,channels));
        ASSERT_TRUE(m_frame->GetEngine()->FindService(DVBPlaybackCore::CServices::KeyOf(kTsid, kRadioTwo)));
    }
    // Runs the thread's messages, translated as the program's loop does, until `done` or the bound.
    template <class Done>
    bool Run(Done done, DWORD ms = 10000)
    {
        const ULONGLONG until = GetTickCount64() + ms;
        while (!done()) {
            if (GetTickCount64() > until)
                return false;
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageW(&msg);
            }
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return true;
    }
    // Types the keys with the window in front, at once; true when all of them and what they
    // posted have been handled.
    bool Type(const std::vector<WPARAM>& keys)
    {
        ::SetForegroundWindow(m_frame->m_hWnd);
        const unsigned target = m_frame->keysHandled + static_cast<unsigned>(keys.size());
        for (WPARAM key : keys)
            PressKey(key);
        return Run([&] { return m_frame->keysHandled >= target; }) && Settle();
    }
    bool Settle()
    {
        return Run([] {
            MSG msg;
            return !PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);
        });
    }
    uint16_t CurrentId()
    {
        CQORService* service = Current();
        return service ? service->GetServiceId() : 0;
    }
    static std::vector<WPARAM> Digits(const char* number)
    {
        std::vector<WPARAM> keys;
        for (const char* p = number; *p; ++p)
            keys.push_back(static_cast<WPARAM>(*p));
        return keys;
    }
    static std::vector<WPARAM> Repeat(WPARAM key, int times)
    {
        return std::vector<WPARAM>(static_cast<size_t>(times > 0 ? times : 0), key);
    }
    static std::vector<WPARAM> Then(std::vector<WPARAM> keys, const std::vector<WPARAM>& more)
    {
        keys.insert(keys.end(), more.begin(), more.end());
        return keys;
    }

public:
    // The roads that pick entry `index` of a list.
    void PickFromChannelList(const List& list, size_t index)
    {
        CQORDisplay& display = m_frame->GetDisplay();
        OnScreenDisplay::ListBox* items = display.GetChannels()->m_list;
        // Up opens the list, F1 to F3 choose its tab; the playing channel comes preselected.
        ASSERT_TRUE(Type({VK_UP}));
        ASSERT_TRUE(display.IsChannelListShown());
        ASSERT_TRUE(Type({static_cast<WPARAM>(VK_F1 + list.kind)}));
        ASSERT_EQ(items->GetCount(), static_cast<int>(list.services.size()));
        ASSERT_EQ(items->GetItem(0).value1 & 0xFFFF, list.services[0]);
        const int move = static_cast<int>(index) - (items->m_selection < 0 ? 0 : items->m_selection);
        ASSERT_TRUE(Type(Then(Repeat(move > 0 ? VK_DOWN : VK_UP, move > 0 ? move : -move), {VK_RETURN, VK_ESCAPE})));
        EXPECT_FALSE(display.IsChannelListShown());
    }
    void PickFromTunePanel(const List& list, size_t index)
    {
        ASSERT_TRUE(Type(Then(Digits(list.typed[index]), {VK_RETURN})));
        EXPECT_FALSE(m_frame->GetDisplay().IsTuneShown());
    }
    void PickFromGuide(const List& list, size_t index)
    {
        // The guide's tab fills its rows from the engine; a click on a row's name hands the row's
        // key to the frame.
        m_frame->rows.clear();
        m_frame->SendMessageW(WM_COMMAND, static_cast<WPARAM>(list.kind == 0 ? 73 : 70 + list.kind), 0);
        ASSERT_EQ(m_frame->rows.size(), list.services.size());
        const CInputFrame::Row row = m_frame->rows[index];
        ASSERT_EQ(row.keyHigh >> 16, list.services[index]);
        m_frame->OnOsdGuideClick(70, row.keyLow, row.keyHigh);
        ASSERT_TRUE(Settle());
    }
    void PickFromChannelsMenu(const List& list, size_t index)
    {
        // TV channels, Radio stations, Network channels, a separator, then the favourites; TV and
        // radio channels lie in groups by initial letter.
        const int i = static_cast<int>(index);
        if (list.kind == 0)
            ChooseFromPopup(42, Then(Repeat(VK_UP, static_cast<int>(list.services.size()) - i), {VK_RETURN}));
        else if (list.kind == 1) // Alpha, Bravo and Charlie, each alone under its letter
            ChooseFromPopup(42, Then({VK_DOWN, VK_RIGHT}, Then(Repeat(VK_DOWN, i), {VK_RIGHT, VK_RETURN})));
        else // both under R
            ChooseFromPopup(42, Then({VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT}, Then(Repeat(VK_DOWN, i), {VK_RETURN})));
        ASSERT_TRUE(Settle());
    }
};

} // namespace

TEST_F(MainFrameInputTest, MenuOpenedByKeyTakesTheArrowsAndReturn)
{
    CQORDisplay& display = m_frame->GetDisplay();
    // With no view open "M" toggles the menu; Down twice reaches its third entry, "Recorded
    // shows", which Return opens.
    ASSERT_TRUE(Type({'M'}));
    ASSERT_TRUE(display.IsMenuShown());
    ASSERT_TRUE(Type({VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(display.IsRecordedShown()) << "the menu's keys went to its background";
    EXPECT_FALSE(display.IsMenuShown());
    ASSERT_TRUE(Type({VK_ESCAPE}));
    ASSERT_FALSE(display.IsRecordedShown());

    // From the channel list "M" closes it and opens the menu, focused the same way.
    ASSERT_TRUE(Type({VK_UP}));
    ASSERT_TRUE(display.IsChannelListShown());
    ASSERT_TRUE(Type({'M'}));
    EXPECT_FALSE(display.IsChannelListShown());
    ASSERT_TRUE(display.IsMenuShown());
    ASSERT_TRUE(Type({VK_DOWN, VK_DOWN, VK_RETURN}));
    EXPECT_TRUE(display.IsRecordedShown()) << "the menu's keys went to its background";
}

TEST_F(MainFrameInputTest, NextAndPreviousStepFromAPickedChannelInItsList)
{
    using Road = void (MainFrameInputTest::*)(const List&, size_t);
    const struct {
        const char* name;
        Road pick;
    } roads[] = {{"channel list", &MainFrameInputTest::PickFromChannelList},
                 {"tune panel", &MainFrameInputTest::PickFromTunePanel},
                 {"guide row", &MainFrameInputTest::PickFromGuide},
                 {"Channels menu", &MainFrameInputTest::PickFromChannelsMenu}};
    // Each list's first and last entry: the steps go round at both ends. Charlie is the TV list's
    // third channel with number 4; Radio Two is the last radio channel and a favourite too.
    const struct {
        const List* list;
        size_t index;
    } picks[] = {{&kFavourites, 0}, {&kFavourites, 2}, {&kTV, 0}, {&kTV, 2}, {&kRadio, 1}};
    for (const auto& road : roads) {
        for (const auto& pick : picks) {
            const List& list = *pick.list;
            const size_t n = list.services.size();
            for (const UINT step : {WM_QOR_NEXT_SERVICE, WM_QOR_PREVIOUS_SERVICE}) {
                SCOPED_TRACE(std::string(road.name) + ", " + list.name + " entry " + std::to_string(pick.index) +
                             (step == WM_QOR_NEXT_SERVICE ? ", next" : ", previous"));
                // Another channel plays first, so that the pick changes it.
                const uint16_t other = pick.index == 0 ? list.services[1] : list.services[0];
                ASSERT_GE(m_frame->TuneStart(other, kTsid, -1), 0);
                ASSERT_EQ(CurrentId(), other);
                (this->*road.pick)(list, pick.index);
                ASSERT_EQ(CurrentId(), list.services[pick.index]) << "the pick";
                m_frame->SendMessageW(step, 0, 0);
                const size_t neighbour = step == WM_QOR_NEXT_SERVICE ? (pick.index + 1) % n : (pick.index + n - 1) % n;
                EXPECT_EQ(CurrentId(), list.services[neighbour]);
            }
        }
    }
}

TEST_F(MainFrameInputTest, FiftyTypedNumbersEachReachTheirChannel)
{
    // The numbers, in an order where no channel follows itself (it would not change).
    struct Number {
        const char* typed;
        uint16_t service;
    };
    std::vector<Number> all;
    for (const List* list : {&kFavourites, &kTV, &kRadio})
        for (size_t i = 0; i < list->services.size(); ++i)
            all.push_back({list->typed[i], list->services[i]});
    std::vector<Number> numbers;
    uint32_t seed = 44;
    while (numbers.size() < 50) {
        seed = seed * 1103515245u + 12345u;
        const Number& next = all[(seed >> 16) % all.size()];
        if (numbers.empty() || numbers.back().service != next.service)
            numbers.push_back(next);
    }
    std::vector<uint16_t> expected;
    for (const Number& number : numbers)
        expected.push_back(number.service);

    // At typing speed each key is sent once the one before has been handled; faster, every key
    // of the fifty numbers is sent at once, as a keyboard and as the window messages a remote
    // control's program posts.
    const uint16_t start = numbers[0].service == kRadioOne ? kAlpha : kRadioOne;
    for (const char* pace : {"typing speed", "at once", "posted at once"}) {
        SCOPED_TRACE(pace);
        ASSERT_GE(m_frame->TuneStart(start, kTsid, -1), 0);
        ASSERT_TRUE(Settle());
        m_frame->ForgetPlayed();
        const std::string how(pace);
        std::vector<WPARAM> keys;
        for (const Number& number : numbers)
            keys = Then(keys, Then(Digits(number.typed), {VK_RETURN}));
        if (how == "typing speed") {
            ::SetForegroundWindow(m_frame->m_hWnd);
            for (WPARAM key : keys) {
                const unsigned handled = m_frame->keysHandled + 1;
                PressKey(key);
                ASSERT_TRUE(Run([&] { return m_frame->keysHandled >= handled; }));
            }
            ASSERT_TRUE(Settle());
        } else if (how == "at once") {
            ASSERT_TRUE(Type(keys));
        } else {
            for (WPARAM key : keys) {
                if (key == VK_RETURN) {
                    ::PostMessageW(m_frame->m_hWnd, WM_KEYDOWN, VK_RETURN, 1);
                    ::PostMessageW(m_frame->m_hWnd, WM_KEYUP, VK_RETURN, 0xC0000001);
                } else {
                    ::PostMessageW(m_frame->m_hWnd, WM_CHAR, key, 1);
                }
            }
            Run([&] { return m_frame->Played().size() >= expected.size(); }, 20000);
            ASSERT_TRUE(Settle());
        }
        EXPECT_EQ(m_frame->Played(), expected);
        EXPECT_FALSE(m_frame->GetDisplay().IsTuneShown());
    }
}
