#pragma once
// A scratch folder for picture fixtures and a shortcut to load them back.
#include "fixtures.h"
#include "imagelib/imageload.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace corvan::test {

class PictureFiles {
public:
    std::string Write(const std::string& name, const Bytes& bytes) {
        const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
        WriteBytes(path, bytes);
        return path;
    }
    ImageLoadResult Load(const Bytes& bytes, const std::string& name = "picture") {
        return LoadImage24(Write(name, bytes));
    }

private:
    QTemporaryDir dir_;
};

// The centre of each quadrant holds its QuadrantColour within `tolerance`.
inline void ExpectQuadrants(const ImageLoadResult& r, int w, int h, int tolerance,
                            const std::string& what) {
    ASSERT_TRUE(r.image) << what << ": " << r.error;
    ASSERT_EQ(r.image->Width(), w) << what;
    ASSERT_EQ(r.image->Height(), h) << what;
    for (int qy = 0; qy < 2; ++qy)
        for (int qx = 0; qx < 2; ++qx) {
            const int x = w / 4 + qx * w / 2, y = h / 4 + qy * h / 2;
            EXPECT_LE(ColourDistance(r.image->Pixel(x, y), QuadrantColour(x, y, w, h)), tolerance)
                << what << " quadrant " << qx << "," << qy << " got " << std::hex
                << r.image->Pixel(x, y);
        }
}

}  // namespace corvan::test
