// Small surfaces and contexts for pixel-exact tests, and pictures written as text: one
// character a pixel, mapped to colours by a legend.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "framework/gdi/DC.h"

class CTestSurface {
public:
    CTestSurface(int width, int height, uint32_t fill = 0)
        : m_pixels((size_t)width * height, fill) {
        m_surface.pixels = m_pixels.data();
        m_surface.width = width;
        m_surface.height = height;
        m_surface.pitch = width;
    }
    CSurface& Surface() { return m_surface; }
    uint32_t& At(int x, int y) { return m_pixels[(size_t)y * m_surface.width + x]; }
    // Rows of characters; pixels whose colour the legend lacks show as '?'.
    std::string Picture(const std::map<uint32_t, char>& legend) const {
        std::string out;
        for (int y = 0; y < m_surface.height; ++y) {
            for (int x = 0; x < m_surface.width; ++x) {
                auto it = legend.find(m_pixels[(size_t)y * m_surface.width + x]);
                out += it == legend.end() ? '?' : it->second;
            }
            out += '\n';
        }
        return out;
    }

private:
    std::vector<uint32_t> m_pixels;
    CSurface m_surface;
};

// A context on a test surface, released with the object.
class CSurfaceDC : public CDC {
public:
    explicit CSurfaceDC(CTestSurface& s, CPoint origin = CPoint(), const CRect* clip = nullptr) {
        Attach(AfxCreateSurfaceDC(&s.Surface(), origin, clip ? *clip : s.Surface().Bounds()));
    }
};

// Joins picture rows written one per string.
inline std::string Rows(std::initializer_list<const char*> rows) {
    std::string out;
    for (const char* r : rows)
        out += std::string(r) + "\n";
    return out;
}
