#include "tiff/tiffjob.h"

#include <algorithm>
#include <cstring>

namespace drv {

namespace {
// Rows queued for the worker: enough to ride out a slow strip of the host's,
// few enough to stay small on the widest media.
constexpr std::size_t kRowsInFlight = 64;

// Nearest-pixel scaling of one row with n samples per pixel.
template <std::size_t N>
void ScaleFixed(const std::uint8_t* src, const std::vector<std::int32_t>& xmap, std::uint8_t* out) {
    for (std::size_t x = 0; x < xmap.size(); ++x)
        std::memcpy(out + x * N, src + static_cast<std::size_t>(xmap[x]) * N, N);
}

void ScaleRow(const std::uint8_t* src, const std::vector<std::int32_t>& xmap, std::size_t n,
              std::uint8_t* out) {
    switch (n) {
        case 1:
            return ScaleFixed<1>(src, xmap, out);
        case 3:
            return ScaleFixed<3>(src, xmap, out);
        case 4:
            return ScaleFixed<4>(src, xmap, out);
        default:
            for (std::size_t x = 0; x < xmap.size(); ++x)
                std::memcpy(out + x * n, src + static_cast<std::size_t>(xmap[x]) * n, n);
    }
}
}  // namespace

bool ColourMatch::Matches(const std::uint8_t* bgr) const {
    const int dr = bgr[2] - R, dg = bgr[1] - G, db = bgr[0] - B;
    return dr * dr + dg * dg + db * db <= Tolerance * Tolerance;
}

std::string SpotInkName(int spot) {
    static const char* const names[] = {"Target", "Black", "Cyan", "Magenta", "Yellow", "Orange",
                                        "Green",  "Red",   "Blue", "Gold",    "Silver", "White"};
    if (spot >= 0 && spot <= 11) return std::string("Spot ") + names[spot];
    return "Spot Custom-" + std::to_string(spot - 11);
}

bool TiffJob::Prepare(std::int32_t srcW, std::int32_t srcH, std::int32_t devW, std::int32_t devH) {
    if (srcW <= 0 || srcH <= 0 || devW <= 0 || devH <= 0) return false;
    srcW_ = srcW;
    srcH_ = srcH;
    devW_ = devW;
    devH_ = devH;
    // Nearest source pixel for each device pixel, centres aligned.
    xmap_.resize(static_cast<std::size_t>(devW));
    for (std::int32_t x = 0; x < devW; ++x)
        xmap_[static_cast<std::size_t>(x)] =
            static_cast<std::int32_t>((2LL * x + 1) * srcW / (2LL * devW));
    return true;
}

bool TiffJob::Open(const std::string& path, const JobSettings& settings, ColourEngine* engine) {
    settings_ = settings;
    engine_ = engine;
    // Every page could hold four colours and all 19 spot inks.
    const bool big = static_cast<double>(devW_) * devH_ * 23 * (settings.Passes + 1) > 3.5e9;
    opened_ = devW_ > 0 && engine_ && engine_->IsOpen() && doc_.Open(path, big);
    if (opened_) worker_ = std::make_unique<RowWorker>(kRowsInFlight);
    return opened_;
}

void TiffJob::InsertSpot(const ColourMatch& match, double L, double a, double b) {
    targets_.push_back({match, L, a, b, {}});
}

void TiffJob::AssignInk(const ColourMatch& match, int spot) {
    if (spot <= 0) {
        inkRules_.push_back({match, -1});
        return;
    }
    auto it = std::find(inkSpots_.begin(), inkSpots_.end(), spot);
    if (it == inkSpots_.end()) it = inkSpots_.insert(inkSpots_.end(), spot);
    inkRules_.push_back({match, static_cast<int>(it - inkSpots_.begin())});
}

void TiffJob::Drain() {
    if (worker_) worker_->Drain();
}

bool TiffJob::StartPage(int pass) {
    // A job whose output never opened prints nothing, pass after pass.
    Drain();
    if (failed_ || !opened_) return false;
    maskPage_ = pass > settings_.Passes;
    PageFormat f;
    f.Width = devW_;
    f.Height = devH_;
    f.DpiX = settings_.DpiX;
    f.DpiY = settings_.DpiY;
    f.Packing = settings_.Packing;
    if (maskPage_) {
        f.ColourChannels = 1;
        f.PageName = SpotInkName(passInk_);
    } else {
        f.ColourChannels = engine_->Channels();
        for (int spot : inkSpots_) f.Inks.push_back(SpotInkName(spot));
        f.IccProfile = &engine_->ProfileBytes();
        f.PageName = "Pass " + std::to_string(pass);
        for (auto& t : targets_) t.Device = engine_->LabToDevice(t.L, t.a, t.b);
    }
    samples_ = f.ColourChannels + static_cast<int>(f.Inks.size());
    const auto n = static_cast<std::size_t>(samples_);
    device_.assign(static_cast<std::size_t>(srcW_) * static_cast<std::size_t>(engine_->Channels()),
                   0);
    source_.assign(static_cast<std::size_t>(srcW_) * n, 0);
    row_.assign(static_cast<std::size_t>(devW_) * n, 0);
    sourceFresh_ = true;
    if (!doc_.StartPage(f, static_cast<std::uint16_t>(pass - 1))) failed_ = true;
    pageOpen_ = !failed_;
    return !failed_;
}

void TiffJob::ApplyRules(const std::uint8_t* bgr, std::uint8_t* out) const {
    const int colours = engine_->Channels();
    for (const auto& t : targets_)
        if (t.Match.Matches(bgr)) {
            std::memcpy(out, t.Device.data(), static_cast<std::size_t>(colours));
            break;
        }
    for (const auto& rule : inkRules_) {
        if (!rule.Match.Matches(bgr)) continue;
        // The spot ink prints instead of the process colours.
        for (int c = 0; c < colours; ++c) out[c] = engine_->IsCmyk() ? 0 : 255;
        if (rule.Channel >= 0) out[colours + rule.Channel] = 255;
        break;
    }
}

bool TiffJob::SourceRow(const std::uint8_t* p0, const std::uint8_t* p1, const std::uint8_t* p2) {
    if (failed_ || !pageOpen_ || !p0 || !p1 || !p2) return failed_;
    // The planes are the host's only for this call: interleaved here, the
    // rest of the work goes to the worker.
    std::vector<std::uint8_t> bgr(static_cast<std::size_t>(srcW_) * 3);
    for (std::size_t x = 0; x < static_cast<std::size_t>(srcW_); ++x) {
        bgr[3 * x] = p0[x];
        bgr[3 * x + 1] = p1[x];
        bgr[3 * x + 2] = p2[x];
    }
    worker_->Post([this, bgr = std::move(bgr)] { ConvertRow(bgr); });
    return false;
}

void TiffJob::ConvertRow(const std::vector<std::uint8_t>& bgr) {
    sourceFresh_ = true;
    const auto width = static_cast<std::size_t>(srcW_);
    if (maskPage_) {
        for (std::size_t x = 0; x < width; ++x) source_[x] = passColour_.Matches(&bgr[3 * x]) ? 255 : 0;
        return;
    }
    const auto n = static_cast<std::size_t>(samples_);
    const auto colours = static_cast<std::size_t>(engine_->Channels());
    engine_->Transform(bgr.data(), device_.data(), width);
    if (n == colours && targets_.empty() && inkRules_.empty()) {
        source_.swap(device_);
        return;
    }
    for (std::size_t x = 0; x < width; ++x) {
        std::uint8_t* out = &source_[x * n];
        std::memcpy(out, &device_[x * colours], colours);
        std::memset(out + colours, 0, n - colours);
        ApplyRules(&bgr[3 * x], out);
    }
}

bool TiffJob::DeviceRow(std::int32_t row) {
    if (failed_ || !pageOpen_) return failed_;
    worker_->Post([this, row] { WriteDeviceRow(row); });
    return failed_;
}

void TiffJob::WriteDeviceRow(std::int32_t row) {
    if (failed_) return;
    // A source row repeated for several device rows is scaled once.
    if (sourceFresh_)
        ScaleRow(source_.data(), xmap_, static_cast<std::size_t>(samples_), row_.data());
    sourceFresh_ = false;
    if (!doc_.WriteRow(row, row_.data())) failed_ = true;
}

bool TiffJob::EndPage() {
    Drain();
    pageOpen_ = false;
    if (!doc_.EndPage()) failed_ = true;
    return !failed_;
}

bool TiffJob::Close() {
    Drain();
    if (pageOpen_) {
        // Only the rows done so far: no page for anyone to print.
        aborted_ = true;
        pageOpen_ = false;
        doc_.Abandon();
        return false;
    }
    if (!doc_.Close()) failed_ = true;
    return !failed_;
}

}  // namespace drv
