// The OSD's drawing interface as a recorder: every call is kept, so tests check transforms,
// stage states and quads without a device.
#pragma once

#include <cstdint>
#include <vector>

#include "viewer/osd/DrawingSurface.h"

class RecordingSurface : public OnScreenDisplay::DrawingSurface {
public:
    struct Draw {
        OnScreenDisplay::Matrix world;
        OnScreenDisplay::SurfaceTexture* texture;
        std::vector<OnScreenDisplay::Vertex> vertices;
        bool strip = false;
    };
    struct StageChange {
        unsigned stage;
        OnScreenDisplay::StageState state;
        uint32_t value;
    };

    void SetWorldTransform(const OnScreenDisplay::Matrix& world) override
    {
        m_world = world;
        transforms.push_back(world);
    }
    void SetTexture(unsigned stage, OnScreenDisplay::SurfaceTexture* texture) override
    {
        if (stage == 0)
            m_texture = texture;
    }
    void SetStageState(unsigned stage, OnScreenDisplay::StageState state, uint32_t value) override
    {
        stageChanges.push_back({stage, state, value});
    }
    void SetRenderState(OnScreenDisplay::RenderState state, uint32_t value) override
    {
        if (state == OnScreenDisplay::RenderState::TextureFactor)
            textureFactor = value;
    }
    void DrawTriangles(const OnScreenDisplay::Vertex* vertices, unsigned triangleCount) override
    {
        draws.push_back({m_world, m_texture, std::vector<OnScreenDisplay::Vertex>(vertices, vertices + 3 * triangleCount), false});
    }

    void DrawTriangleStrip(const OnScreenDisplay::Vertex* vertices, unsigned triangleCount) override
    {
        draws.push_back({m_world, m_texture, std::vector<OnScreenDisplay::Vertex>(vertices, vertices + triangleCount + 2), true});
    }

    void DrawTriangleStrip2(const OnScreenDisplay::Vertex2* vertices, unsigned triangleCount) override
    {
        crossFades.push_back(std::vector<OnScreenDisplay::Vertex2>(vertices, vertices + triangleCount + 2));
    }

    std::vector<std::vector<OnScreenDisplay::Vertex2>> crossFades;
    std::vector<OnScreenDisplay::Matrix> transforms;
    std::vector<Draw> draws;
    std::vector<StageChange> stageChanges;
    uint32_t textureFactor = 0;

private:
    OnScreenDisplay::Matrix m_world = OnScreenDisplay::Matrix::Identity();
    OnScreenDisplay::SurfaceTexture* m_texture = nullptr;
};
