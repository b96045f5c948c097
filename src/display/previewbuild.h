#pragma once
// The cached picture of the upright job page every view is drawn from. It
// is rendered from a snapshot of the job, so the render can run on a worker
// thread while the window goes on, and a newer change can abandon it.
#include "imagelib/resample.h"
#include "job/emffile.h"
#include "platform/bitmap.h"

#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace corvan {

// What the views show of the artwork.
struct ViewFlags {
    enum Mode { Artwork = 1, Layout = 2, Printer = 3 };
    int ViewMode = Printer;
    bool DraftView = false;
    bool CutView = true;
    bool RasterView = true;
};

// Everything a preview render reads, copied off the job.
struct PreviewInput {
    float PageWidth = 0, PageHeight = 0;
    Colour BackgroundColor = 0xFFFFFF;
    std::shared_ptr<const Bitmap24> Background;  // null when not drawn
    std::vector<std::string> Layers;
    bool ContourCut = false, PrintContours = false;
    std::uint32_t MatchMask = 0;
    Colour MatchColor = 0;
    bool SmoothBitmaps = true;
    bool DraftView = false, CutView = false, RasterView = false;
    int MaxPreview = 900;
};

// The preview's size: the page (whole millimetres, in hundredths) fitted
// into `box` x `box` pixels, never enlarged.
FittedSize PreviewSize(float pageWidth, float pageHeight, int box);

// The snapshot of `job`. `background` is the picture to stretch over the
// page (the job's own or a reduced copy of it), null when none is drawn.
PreviewInput SnapshotPreview(const TemfFile& job, const ViewFlags& flags, int maxPreview,
                             std::shared_ptr<const Bitmap24> background);

// Renders the preview: the Draft placeholder, the artwork as printed, the
// cut shapes alone, or the cut shapes in black over the faded artwork. Null
// when there is nothing to show (no page, a size below one pixel) or
// `cancel` was set while rendering.
std::unique_ptr<Bitmap24> BuildPreview(const PreviewInput& input,
                                       const std::atomic<bool>* cancel = nullptr);

// Runs BuildPreview on a worker thread, one build at a time: a new Start
// abandons the build still running. `ready` runs in the thread of `context`
// (which must outlive the builder) for the latest Start only.
class PreviewBuilder {
public:
    PreviewBuilder(QObject* context, std::function<void()> ready);
    ~PreviewBuilder();
    PreviewBuilder(const PreviewBuilder&) = delete;
    PreviewBuilder& operator=(const PreviewBuilder&) = delete;

    void Start(PreviewInput input);
    // Abandons the running build; nothing is emitted for it.
    void Cancel();
    // The picture of the latest build once `Ready` came, or after waiting
    // for the running build (then `Ready` is not emitted for it); null when
    // nothing was built or the build was abandoned.
    std::unique_ptr<Bitmap24> Take();
    std::unique_ptr<Bitmap24> Wait();
    bool Busy() const;
    // A build was started whose picture has not been taken yet.
    bool Pending() const { return run_ != nullptr; }
    // Builds started since construction (each rendering of the artwork).
    int Builds() const { return builds_; }

    // The job's background reduced to what a preview of width x height
    // can show, kept while the job's picture stays the same.
    std::shared_ptr<const Bitmap24> PreviewBackground(const Bitmap24* source, int width,
                                                      int height);
    void ForgetBackground();

private:
    struct Run;
    void Finish(const std::shared_ptr<Run>& run);
    void Reap(bool all);

    QObject* context_;
    std::function<void()> ready_;
    std::shared_ptr<Run> run_;
    std::vector<std::pair<std::thread, std::shared_ptr<Run>>> threads_;
    int builds_ = 0;
    const Bitmap24* backgroundSource_ = nullptr;
    int backgroundWidth_ = 0, backgroundHeight_ = 0;
    std::shared_ptr<const Bitmap24> background_;
};

}  // namespace corvan
