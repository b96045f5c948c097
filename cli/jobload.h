#pragma once
// Helpers the job commands share: loading a project for rendering (with
// its files looked up beside the project when their own paths fail) and
// writing PNG files.
#include "platform/bitmap.h"
#include "shell/appcore.h"

#include <string>

namespace corvan::cli {

// Loads the project into app (its crop-mark file applied, the fonts that
// travel with its layers installed). A layer or background image that is not
// where the project says is looked up by its bare name in the project's
// folder, so a project can ship beside its files. False with a message when
// the project cannot be read or its background picture cannot be loaded.
bool LoadJobForRendering(AppCore& app, const std::string& path, std::string& error);

// Writes the picture as PNG, replacing the file only when complete.
bool SavePng(Bitmap24& image, const std::string& path, std::string& error);

}  // namespace corvan::cli
