#pragma once
// The printed manual, a PDF file, opened at a page by the "Help" buttons.
#include <optional>
#include <string>

namespace corvan {

class UserInterface;

// "CorvanRIP.pdf" in the program folder, else beside the program's data;
// empty when it is not installed.
std::string ManualFile();
// Opens the manual at `page` in a PDF reader that takes a page (evince,
// okular, qpdfview, zathura), else in the desktop's PDF viewer at its start;
// tells the operator when there is no manual or nothing could open it.
bool OpenManualPage(UserInterface& ui, int page);
// The page a chapter of the manual starts on, from "CorvanRIP.pages" beside
// it (written when the manual is built); none when it is not listed.
std::optional<int> ManualChapterPage(const std::string& chapter);
// Opens the manual where the chapter starts (at its first page when the
// chapter is not listed).
bool OpenManualChapter(UserInterface& ui, const std::string& chapter);

}  // namespace corvan
