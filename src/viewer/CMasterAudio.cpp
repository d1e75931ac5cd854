#include "viewer/CMasterAudio.h"

CMasterAudio g_masterAudio;

CMasterAudio::CMasterAudio()
{
    m_opened = Open() != FALSE;
    if (m_opened) {
        FindMuteControl();
        FindVolumeControl();
    }
}

CMasterAudio::~CMasterAudio()
{
    Close();
}

BOOL CMasterAudio::Open()
{
    m_deviceCount = mixerGetNumDevs();
    m_mixer = nullptr;
    m_caps = MIXERCAPSW{};
    if (m_deviceCount == 0)
        return TRUE;
    if (mixerOpen(&m_mixer, 0, 0, 0, 0) != MMSYSERR_NOERROR) {
        m_mixer = nullptr;
        return FALSE;
    }
    return mixerGetDevCapsW(reinterpret_cast<UINT_PTR>(m_mixer), &m_caps, sizeof(m_caps)) == MMSYSERR_NOERROR;
}

void CMasterAudio::Close()
{
    if (m_opened && m_mixer) {
        mixerClose(m_mixer);
        m_mixer = nullptr;
    }
}

bool CMasterAudio::FindSpeakerControl(DWORD controlType, MIXERCONTROLW& control)
{
    if (!m_mixer)
        return false;
    MIXERLINEW line{};
    line.cbStruct = sizeof(line);
    line.dwComponentType = MIXERLINE_COMPONENTTYPE_DST_SPEAKERS;
    HMIXEROBJ object = reinterpret_cast<HMIXEROBJ>(m_mixer);
    if (mixerGetLineInfoW(object, &line, MIXER_OBJECTF_HMIXER | MIXER_GETLINEINFOF_COMPONENTTYPE) != MMSYSERR_NOERROR)
        return false;
    MIXERLINECONTROLSW controls{};
    controls.cbStruct = sizeof(controls);
    controls.dwLineID = line.dwLineID;
    controls.dwControlType = controlType;
    controls.cControls = 1;
    controls.cbmxctrl = sizeof(control);
    controls.pamxctrl = &control;
    control = MIXERCONTROLW{};
    control.cbStruct = sizeof(control);
    return mixerGetLineControlsW(object, &controls, MIXER_OBJECTF_HMIXER | MIXER_GETLINECONTROLSF_ONEBYTYPE) ==
           MMSYSERR_NOERROR;
}

BOOL CMasterAudio::FindMuteControl()
{
    MIXERCONTROLW control;
    if (!FindSpeakerControl(MIXERCONTROL_CONTROLTYPE_MUTE, control))
        return FALSE;
    m_muteControlId = control.dwControlID;
    return TRUE;
}

BOOL CMasterAudio::FindVolumeControl()
{
    MIXERCONTROLW control;
    if (!FindSpeakerControl(MIXERCONTROL_CONTROLTYPE_VOLUME, control))
        return FALSE;
    m_volumeControlId = control.dwControlID;
    m_volumeMinimum = static_cast<LONG>(control.Bounds.dwMinimum);
    m_volumeMaximum = static_cast<LONG>(control.Bounds.dwMaximum);
    return TRUE;
}
