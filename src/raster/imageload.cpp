#include "raster/imageload.h"

#include "platform/folders.h"
#include "shell/userinterface.h"

#include <QImageReader>

namespace corvan {

ImageLoadResult LoadImage24(const std::string& path, const LoadProgress& progress) {
    ImageLoadResult result;
    if (path.empty()) return result;
    if (!FileExists(path)) {
        CurrentUi().ShowError("Cant find image: " + path);
        return result;
    }
    if (progress) progress(0, 0);
    QImageReader reader(QString::fromStdString(path));
    reader.setAutoTransform(true);
    // Sign-shop pictures are large; the default 128 MB cap would refuse them.
    QImageReader::setAllocationLimit(2048);
    QImage picture = reader.read();
    if (progress) progress(2, 100);
    if (picture.isNull()) {
        result.error = reader.errorString().toStdString();
        return result;
    }
    result.image = Bitmap24::FromQImage(picture);
    if (!result.image) result.error = "Not enough memory for the picture";
    return result;
}

}  // namespace corvan
