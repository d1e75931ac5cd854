// The system mixer, kept open for the life of the viewer: the speakers' mute and master volume
// controls of mixer 0.
#pragma once

#include <windows.h>
#include <mmsystem.h>

class CMasterAudio {
public:
    // Opens the mixer and looks up both controls.
    CMasterAudio();
    virtual ~CMasterAudio();
    CMasterAudio(const CMasterAudio&) = delete;
    CMasterAudio& operator=(const CMasterAudio&) = delete;

    // TRUE when there is no mixer at all (nothing to open) or mixer 0 opened with its
    // capabilities.
    BOOL Open();
    // Each needs an open mixer; a failing call keeps the previous values.
    BOOL FindMuteControl();
    BOOL FindVolumeControl();
    void Close();

    bool IsOpened() const { return m_opened; }
    UINT GetDeviceCount() const { return m_deviceCount; }
    HMIXER GetHandle() const { return m_mixer; }
    const MIXERCAPSW& GetCaps() const { return m_caps; }
    DWORD GetMuteControlId() const { return m_muteControlId; }
    DWORD GetVolumeControlId() const { return m_volumeControlId; }
    LONG GetVolumeMinimum() const { return m_volumeMinimum; }
    LONG GetVolumeMaximum() const { return m_volumeMaximum; }

private:
    // The speakers line's one control of the given type.
    bool FindSpeakerControl(DWORD controlType, MIXERCONTROLW& control);

    bool m_opened = false;
    UINT m_deviceCount = 0;
    HMIXER m_mixer = nullptr;
    MIXERCAPSW m_caps{};
    DWORD m_muteControlId = 0;
    DWORD m_volumeControlId = 0;
    LONG m_volumeMinimum = 0;
    LONG m_volumeMaximum = 0;
};

extern CMasterAudio g_masterAudio;
