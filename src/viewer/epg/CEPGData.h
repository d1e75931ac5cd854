// The viewer's copy of the guide grid. The engine fills the back array while the guide draws the
// front one; Publish exchanges them. Every operation runs under the main frame's user-interface
// lock. Times are UTC instants.
#pragma once

#include <atomic>
#include <cstdint>

#include "framework/CArray.h"
#include "framework/CString.h"
#include "viewer/epg/CEPGChannel.h"

typedef CArray<CEPGChannel*, CEPGChannel*> CEPGChannelArray;

class CEPGData {
public:
    static constexpr int32_t kFailed = static_cast<int32_t>(0x80004005); // E_FAIL

    CEPGData();
    // The grid starts half an hour before the local half hour that holds `now`.
    explicit CEPGData(int64_t now);
    CEPGData(const CEPGData&) = delete;
    CEPGData& operator=(const CEPGData&) = delete;
    virtual ~CEPGData();

    // The local half hour that holds `now`, as a UTC instant, less 30 minutes.
    static int64_t InitialGridStart(int64_t now);

    int32_t BeginUpdate();
    int32_t AddChannel(const CString& name, uint32_t keyLow, uint32_t keyHigh, CEPGChannel** channel);
    int32_t AddEvent(CEPGChannel* channel, const CString& title, uint32_t keyLow, uint32_t keyHigh, int64_t start,
                     int32_t durationMinutes, uint32_t genre, const CString& text, const CString& extraText,
                     uint32_t flags);
    int32_t Publish();
    void SetStartTime(int64_t start) { m_gridStart = start; }
    // Forgets every laid-out text of both arrays: called when the display rebuilds its fonts.
    void DropTexts();

    bool IsUpdating() const { return m_updating.load(); }
    int RowCount() const { return static_cast<int>(m_front->GetSize()); }
    // The front row `row`, or null when there is none.
    CEPGChannel* Row(int row) const;

    int m_topRow = 0;
    int m_selectedRow = 0;
    int64_t m_gridStart = 0;
    int64_t m_columnSpan = 1800;
    CEPGChannelArray* m_front;
    CEPGChannelArray* m_back;

private:
    static void DeleteChannels(CEPGChannelArray& channels);

    CEPGChannelArray m_arrays[2];
    std::atomic<bool> m_updating{false}; // set from BeginUpdate until Publish
};
