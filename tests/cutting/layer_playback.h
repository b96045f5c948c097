#pragma once
// A layer file's lines of one colour as our player collects them for
// cutting: the file played over w x h pixels, each figure a list of points.
#include "raster/emfdoc.h"

#include <string>
#include <vector>

namespace corvan::test {

inline std::vector<std::vector<IntPoint>> CollectLayerFigures(const std::string& file, int w, int h,
                                                              Colour colour) {
    TemfDoc doc;
    doc.ImageWidth = w;
    doc.ImageHeight = h;
    doc.PlayRect = {0, 0, w, h};
    doc.LayerFiles = {file};
    doc.Preview.ContourActive = true;
    doc.Preview.MatchMask = 1;
    doc.Preview.MatchColor = colour;
    doc.Preview.CollectContours = true;
    doc.CollectPaths();
    std::vector<std::vector<IntPoint>> out;
    for (std::size_t i = 0; i < doc.Preview.PathPoints.size(); ++i) {
        if ((doc.Preview.PathTypes[i] & 6) == 6 || out.empty()) out.emplace_back();
        out.back().push_back(doc.Preview.PathPoints[i]);
    }
    return out;
}

}  // namespace corvan::test
