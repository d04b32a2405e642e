#pragma once
// How the geometry structs read in a failed check.
#include <string>

#include "../../logic/skin_geometry.h"

namespace check {
inline std::string Show(const SkinPoint& p)
{
    return "(" + std::to_string(p.x) + ", " + std::to_string(p.y) + ")";
}
inline std::string Show(const SkinSize& s)
{
    return std::to_string(s.w) + "x" + std::to_string(s.h);
}
inline std::string Show(const SkinRect& r)
{
    return "(" + std::to_string(r.x) + ", " + std::to_string(r.y) + ", " + std::to_string(r.w) +
           "x" + std::to_string(r.h) + ")";
}
inline std::string Show(const SkinEdges& e)
{
    return "(" + std::to_string(e.left) + ", " + std::to_string(e.top) + ", " +
           std::to_string(e.right) + ", " + std::to_string(e.bottom) + ")";
}
} // namespace check
