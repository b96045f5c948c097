#pragma once
// Files dropped on the main window from a file manager.
#include <string>
#include <vector>

namespace corvan {

class AppCore;

// Handles the files in the order given. A project is opened (after the
// question about unsaved changes). A vector layer joins the current job; a
// picture becomes its background image. Without a job a layer or a picture
// starts one, as "Open Layer (as New)" and "Open Image (as New)" do, and the
// files after it join that job. Folders and files that are gone are passed
// over; a file that is no picture we can read leaves the background as it is.
void DropFiles(AppCore& app, const std::vector<std::string>& paths);

}  // namespace corvan
