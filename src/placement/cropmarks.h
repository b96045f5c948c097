#pragma once
// The crop-mark library of the data folder and the four corner pictures in
// use. The desktop program shows Items() with Previews() in its combo box;
// the strip composer draws Corners().
#include "job/jobsession.h"
#include "placement/cropmarkfile.h"
#include "platform/bitmap.h"

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace corvan {

class CropMarkLibrary : public CropMarkPort {
public:
    CropMarkLibrary();

    // Lists every "*.mrk" of the data folder with the right signature, in
    // name order, with its preview; selects the first without applying it.
    // A listed file that is damaged is left out with a log line.
    void LoadCropMarks();

    // Reads the file of that name from the data folder into the corner
    // pictures and returns its mark size; nothing changes (and nothing is
    // returned) when the file is missing. A file with a wrong signature or
    // damaged pictures leaves the corners empty, so crosses are drawn.
    std::optional<float> ApplyCropMark(const std::string& path);

    const std::vector<std::string>& Items() const { return items_; }
    const std::vector<std::unique_ptr<Bitmap24>>& Previews() const { return previews_; }
    int SelectedIndex() const { return selected_; }
    void SetSelectedIndex(int index) { selected_ = index; }

    // Metafile bytes of the top-left, top-right, bottom-left and bottom-right
    // pictures; an empty one is drawn as a grey cross.
    const std::array<std::vector<std::uint8_t>, 4>& Corners() const { return corners_; }
    // The size the last applied file asked for (the size edit shows it).
    std::optional<float> LastAppliedSize() const { return lastSize_; }
    // A file was read into the corners (even a bad one, which leaves them
    // empty); until then the composer uses the built-in marks.
    bool Applied() const { return applied_; }

    // The file the output uses: the one last applied, or the one a project
    // named; empty while the built-in marks are drawn.
    std::string SelectedFileName() const override;
    void SelectCropMarkFile(const std::string& name) override;

private:
    std::vector<std::string> items_;
    std::vector<std::unique_ptr<Bitmap24>> previews_;
    int selected_ = -1;
    std::array<std::vector<std::uint8_t>, 4> corners_;
    std::optional<float> lastSize_;
    bool applied_ = false;
    std::string appliedFile_;
};

// Choosing a combo item: applies the file and hands its size to the job.
void ChooseCropMark(JobSession& app, CropMarkLibrary& library, int index);

}  // namespace corvan
