#include "display/previewbuild.h"

#include "imagelib/resample.h"
#include "platform/numbers.h"
#include "platform/preferences.h"
#include "raster/emfdoc.h"
#include "raster/transforms.h"

#include <QMetaObject>
#include <QPainter>

#include <algorithm>

namespace corvan {

namespace {

std::unique_ptr<Bitmap24> DraftPicture(const PreviewInput& in) {
    const FittedSize size = PreviewSize(in.PageWidth, in.PageHeight, 300);
    auto image = Bitmap24::Create(size.width, size.height);
    if (!image) return nullptr;
    image->Fill(0xFFFFFF);
    QImage view = image->View();
    QPainter p(&view);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(0, 0, size.width - 1, size.height - 1);
    p.drawLine(size.width - 1, 0, 0, size.height - 1);
    p.setPen(Qt::black);
    p.drawText(QRect(5, 5, size.width, size.height), Qt::AlignLeft | Qt::AlignTop,
               QStringLiteral("Draft Preview."));
    return image;
}

}  // namespace

FittedSize PreviewSize(float pageWidth, float pageHeight, int box) {
    return FitSize(RoundToInt(pageWidth) * 100, RoundToInt(pageHeight) * 100, box, box);
}

PreviewInput SnapshotPreview(const TemfFile& job, const ViewFlags& flags, int maxPreview,
                             std::shared_ptr<const Bitmap24> background) {
    PreviewInput in;
    in.PageWidth = job.PageWidth;
    in.PageHeight = job.PageHeight;
    in.BackgroundColor = job.BackgroundColor;
    if (job.DrawImage) in.Background = std::move(background);
    in.Layers = job.Layers;
    in.ContourCut = job.ContourCut;
    in.PrintContours = job.PrintContours;
    in.MatchMask = (job.CutSolid ? 2u : 0u) + (job.CutLines ? 1u : 0u);
    in.MatchColor = job.CutColor;
    in.SmoothBitmaps = ReadPrefBool("interpolate_DIB", true);
    in.DraftView = flags.DraftView;
    in.CutView = flags.CutView;
    in.RasterView = flags.RasterView;
    in.MaxPreview = maxPreview;
    return in;
}

std::unique_ptr<Bitmap24> BuildPreview(const PreviewInput& in, const std::atomic<bool>* cancel) {
    if (in.DraftView) return DraftPicture(in);
    if (in.MaxPreview < 1) return nullptr;
    const FittedSize size = PreviewSize(in.PageWidth, in.PageHeight, in.MaxPreview);
    TemfDoc doc;
    doc.ImageWidth = size.width;
    doc.ImageHeight = size.height;
    doc.PlayRect = {0, 0, size.width, size.height};
    doc.LayerFiles = in.Layers;
    TemfPreview& p = doc.Preview;
    p.MatchMask = in.MatchMask;
    p.MatchColor = in.MatchColor;
    p.SmoothBitmaps = in.SmoothBitmaps;
    p.SmoothBackground = true;
    p.BlendParam = 0;
    p.Cancel = cancel;
    const bool cutShapes = in.CutView && in.ContourCut;
    if (cutShapes && !in.RasterView) {
        // Only the cut shapes, in their own colours.
        p.ContourActive = true;
        p.DrawMatched = true;
        p.DrawUnmatched = false;
        return doc.Render();
    }
    doc.BackColor = in.BackgroundColor;
    doc.Background = in.Background.get();
    p.ContourActive = in.ContourCut || cutShapes;
    p.DrawMatched = in.PrintContours;
    p.DrawUnmatched = true;
    auto artwork = doc.Render();
    if (!cutShapes || !artwork) return artwork;
    if (cancel && cancel->load()) return nullptr;
    // The cut shapes in black over the faded artwork.
    FadeBitmap(artwork.get(), 15);
    doc.Background = artwork.get();
    p.DrawMatched = true;
    p.DrawUnmatched = false;
    p.OutlineMatched = true;
    return doc.Render();
}

struct PreviewBuilder::Run {
    PreviewInput input;
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::unique_ptr<Bitmap24> result;
};

PreviewBuilder::PreviewBuilder(QObject* context, std::function<void()> ready)
    : context_(context), ready_(std::move(ready)) {}

PreviewBuilder::~PreviewBuilder() {
    Cancel();
    Reap(true);
}

void PreviewBuilder::Start(PreviewInput input) {
    Cancel();
    Reap(false);
    auto run = std::make_shared<Run>();
    run->input = std::move(input);
    run_ = run;
    ++builds_;
    threads_.emplace_back(std::thread([this, run] {
                              run->result = BuildPreview(run->input, &run->cancel);
                              run->done = true;
                              // Queued to the context's thread; dropped if it is gone.
                              QMetaObject::invokeMethod(
                                  context_, [this, run] { Finish(run); }, Qt::QueuedConnection);
                          }),
                          run);
}

void PreviewBuilder::Cancel() {
    if (run_) run_->cancel = true;
    run_.reset();
}

void PreviewBuilder::Finish(const std::shared_ptr<Run>& run) {
    if (run == run_ && !run->cancel && ready_) ready_();
}

std::unique_ptr<Bitmap24> PreviewBuilder::Take() {
    if (!run_ || !run_->done) return nullptr;
    auto result = std::move(run_->result);
    run_.reset();
    return result;
}

std::unique_ptr<Bitmap24> PreviewBuilder::Wait() {
    if (!run_) return nullptr;
    for (auto& [thread, run] : threads_)
        if (run == run_ && thread.joinable()) thread.join();
    return Take();
}

bool PreviewBuilder::Busy() const {
    return run_ && !run_->done;
}

void PreviewBuilder::Reap(bool all) {
    for (auto it = threads_.begin(); it != threads_.end();) {
        if (all || it->second->done) {
            if (it->first.joinable()) it->first.join();
            it = threads_.erase(it);
        } else {
            ++it;
        }
    }
}

std::shared_ptr<const Bitmap24> PreviewBuilder::PreviewBackground(const Bitmap24* source, int width,
                                                                  int height) {
    if (!source) return nullptr;
    // A preview never shows more of the picture than its own size, and the
    // worker must not read the job's picture while the window may replace it.
    const int w = std::clamp(width, 1, source->Width());
    const int h = std::clamp(height, 1, source->Height());
    const bool same = source == backgroundSource_ && source->Width() == backgroundWidth_ &&
                      source->Height() == backgroundHeight_ && background_ &&
                      background_->Width() == w && background_->Height() == h;
    if (same) return background_;
    const bool reduce = w < source->Width() || h < source->Height();
    background_ = reduce ? AreaResample(source, w, h) : source->Clone();
    backgroundSource_ = source;
    backgroundWidth_ = source->Width();
    backgroundHeight_ = source->Height();
    return background_;
}

void PreviewBuilder::ForgetBackground() {
    background_.reset();
    backgroundSource_ = nullptr;
}

}  // namespace corvan
