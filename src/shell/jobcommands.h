#pragma once
// The commands that create, save, close and dress the current job. Each
// leaves the window consistent through the core's observers (job shown,
// controls enabled by state, layout updated), and each asks about unsaved
// changes before it replaces the job, so every cancellation keeps it.
#include "platform/bitmap.h"

#include <memory>
#include <string>

namespace corvan {

class AppCore;

// The project file dialog filters and the library pickers' filters.
extern const char* const kProjectFilter;
extern const char* const kLayerFilter;
extern const char* const kImageFilter;

// True to go on; false when the operator chose to stop.
bool AskSaveChanges(AppCore& app);
// Asks about unsaved changes, then drops the job; with `postStart` the start
// checks and the start wizard run again afterwards. False when cancelled or
// when there was no job.
bool CloseJob(AppCore& app, bool postStart);
// Destroys the job without a question and refreshes the window.
void DiscardJob(AppCore& app);

// "New Job": size question with the preferred size, then a fresh job with
// the preferred render settings.
void NewJob(AppCore& app);
// Saves under the job's name (asking for one first when it has none),
// keeping the printed-tile record of the file it replaces.
void SaveJob(AppCore& app);
// Asks for a new name; the old project file goes along as the starting point.
void SaveJobAs(AppCore& app);
// "Open RIP Project": file dialog in the documents folder, then OpenProject.
void OpenProjectCommand(AppCore& app);
// Opens entry `index` of the recent-project list.
void OpenRecent(AppCore& app, int index);

// Recent-project list: on top, at most 8, letter case ignored.
void AddRecent(AppCore& app, const std::string& path);

// The image or layer library chooser; empty when cancelled or when the
// chosen file does not exist.
std::string PickLibraryFile(AppCore& app, bool layers);
// "Open Layer (as New)" and "Open Image (as New)".
void OpenLayerAsNewCommand(AppCore& app);
void OpenImageAsNewCommand(AppCore& app);

// Background image of the current job: from the library (empty path) or a
// history entry. The page size is kept.
void LoadBackgroundImage(AppCore& app, const std::string& path = {});
void ClearBackgroundImage(AppCore& app);
// "Edit Image" came back: the edited picture, saved as `file`, becomes the
// background. Without a picture (the edit was cancelled) the job stays, and
// the views are refreshed either way.
void BackgroundEdited(AppCore& app, std::unique_ptr<Bitmap24> picture, const std::string& file);
// Where an edited background is kept: beside the original as
// "NAME_edited.png", numbered when that exists.
std::string EditedImageName(const std::string& original);
// "Draw Image" and the background colour picker.
void SetDrawImage(AppCore& app, bool drawImage, unsigned backgroundColor);

// Companion programs, started without waiting. False when it would not start.
bool LaunchPackagingTool(const AppCore& app);
bool LaunchDxfConverter();
bool DxfConverterInstalled();

// Shows the job, enables controls by state and updates the layout.
void RefreshAfterJobChange(AppCore& app);

}  // namespace corvan
