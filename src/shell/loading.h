#pragma once
// Turning a file into the current job: a project is opened, a vector layer
// becomes a new job of the layer's size, any other file is taken as the
// background picture of a new job. The old job is replaced only after the
// size question and the save-changes question were answered.
#include "imagelib/imageload.h"

#include <string>
#include <vector>

namespace corvan {

class AppCore;

// What a file is taken for, by its extension (letter case ignored): ".RIP"
// a project, ".EMF" or ".LYR" a vector layer, anything else a picture.
enum class FileKind { Project, Layer, Picture };
FileKind KindOfFile(const std::string& path);

// Chooses the loader by the file's kind.
void LoadAnything(AppCore& app, const std::string& path);
// True when the project was loaded.
bool OpenProject(AppCore& app, const std::string& path);
void LoadLayerAsJob(AppCore& app, const std::string& path);
// True when a new job was made from the picture.
bool LoadImageAsJob(AppCore& app, const std::string& path);

// The image loader's progress, shown by the window (bar and job panel text).
LoadProgress ImageLoadProgress(AppCore& app, const std::string& path);

// Makes the font files that accompany a layer available to the renderer:
// for each face the layer uses that the system lacks, the files
// <cache folder>/<face>.TTF, _Bold.TTF, _Italic.TTF and _BoldItalic.TTF.
// Returns the files registered.
std::vector<std::string> InstallLayerFonts(const std::string& path);

}  // namespace corvan
