#pragma once
// Files dragged from a file manager onto the main window or its layer lists.
#include <string>
#include <vector>

class QMimeData;
class QObject;
class QWidget;

namespace corvan {

class AppCore;

// The local files of a drag, in the order the file manager gave them.
std::vector<std::string> DroppedFiles(const QMimeData* mime);
// Hands the files to the drop command once the drop itself is over: its
// questions and dialogs must not hold up the file manager's drag.
void DropFilesLater(QObject* context, AppCore& app, std::vector<std::string> paths);
// `window` and every part of it without drops of its own accept local files.
void AcceptFileDrops(QWidget* window, AppCore& app);

}  // namespace corvan
