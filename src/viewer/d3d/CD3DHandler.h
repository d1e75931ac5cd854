// The viewer's one Direct3D 9 device owner: the device on the adapter of the window's monitor, the
// render event that video presenters set when a frame is ready, and the device lock that everyone
// who touches the device or its textures holds.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "base/Lock.h"
#include "viewer/d3d/CD3DSurface.h"

class CD3DHandler {
public:
    CD3DHandler();
    virtual ~CD3DHandler();
    CD3DHandler(const CD3DHandler&) = delete;
    CD3DHandler& operator=(const CD3DHandler&) = delete;

    // Creates the device for the window on the adapter of its monitor.
    HRESULT Create(HWND owner, HWND window);
    HRESULT ReleaseDevice();
    HRESULT SetClientSize(int cx, int cy);

    IDirect3DDevice9* GetDevice() const { return m_device; }
    IDirect3D9* GetDirect3D() const { return m_d3d; }
    HWND GetWindow() const { return m_window; }
    HWND GetOwner() const { return m_owner; }
    HANDLE GetRenderEvent() const { return m_renderEvent; }
    base::CCriticalSection& DeviceLock() { return m_deviceLock; }
    // The drawing interface of the OSD over this device; valid while the device exists.
    OnScreenDisplay::DrawingSurface* GetSurface() { return m_device ? &m_surface : nullptr; }
    RECT GetClientRect() const { return m_clientRect; }
    // The part of the back buffer that is drawn and presented: the client area where it lies within
    // the back buffer, the whole back buffer while the client size is unknown. Under the device lock.
    RECT DrawnArea() const;
    const D3DPRESENT_PARAMETERS& GetPresentParameters() const { return m_presentParameters; }

    // The adapter whose monitor is the window's; the default adapter when none reports it (the
    // picture on the wrong monitor beats no picture at all).
    static UINT ChooseAdapter(HMONITOR windowMonitor, const std::vector<HMONITOR>& adapterMonitors);

private:
    void InitPresentParameters();
    void SetDefaultStates();

    IDirect3D9* m_d3d = nullptr;
    IDirect3DDevice9* m_device = nullptr;
    D3DPRESENT_PARAMETERS m_presentParameters{};
    HWND m_owner = nullptr;
    HWND m_window = nullptr;
    HANDLE m_renderEvent = nullptr;
    base::CCriticalSection m_deviceLock;
    RECT m_clientRect{};
    CD3DSurface m_surface;
};

extern CD3DHandler* theD3DHandler;
