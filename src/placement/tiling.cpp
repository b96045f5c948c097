#include "placement/tiling.h"

#include "job/jobsession.h"
#include "job/units.h"
#include "placement/placementops.h"
#include "platform/inifile.h"
#include "platform/registry.h"
#include "platform/userinterface.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace corvan {
namespace {

constexpr float kRollLimit = 6000;                       // mm: what one tile on a roll may run to
constexpr const char* kMaximumValue = "Maximum  Tiles";  // two blanks, as stored
constexpr int kDefaultMaximum = 20;

float ClampTo(float v, float hi) {
    return v < 0 ? 0.0f : (v > hi ? hi : v);
}

std::string Format(const char* format, auto... values) {
    char text[160];
    std::snprintf(text, sizeof text, format, values...);
    return text;
}

}  // namespace

MediaLimits TileMediaLimits(const TemfFile& job, const TemfPlotter& device) {
    const float marks = job.AutoSize ? 2 * job.CropmarkSize : 0;
    return {device.MediaWidth - marks,
            device.PrintableLength > 0 ? device.MediaHeight - marks : kRollLimit};
}

TileGrid GridOf(const TCropTileBlock& b, float pageWidth, float pageHeight) {
    if (b.TileWidth <= 0 || b.TileHeight <= 0) return {};
    return {static_cast<int>(std::trunc((pageWidth - 0.1f) / b.TileWidth)) + 1,
            static_cast<int>(std::trunc((pageHeight - 0.1f) / b.TileHeight)) + 1};
}

MmRect TileRect(const TCropTileBlock& b, const TileGrid& grid, int tile, float pageWidth,
                float pageHeight) {
    if (grid.columns <= 0 || tile < 1) return {0, 0, pageWidth, pageHeight};
    const int column = (tile - 1) % grid.columns, row = (tile - 1) / grid.columns;
    return {ClampTo(column * b.TileWidth - b.BleedX, pageWidth),
            ClampTo(row * b.TileHeight - b.BleedY, pageHeight),
            ClampTo((column + 1) * b.TileWidth + b.BleedX, pageWidth),
            ClampTo((row + 1) * b.TileHeight + b.BleedY, pageHeight)};
}

int TileAtPoint(const TCropTileBlock& b, const TileGrid& grid, float pageWidth, float pageHeight,
                float x, float y) {
    if (x < 0 || y < 0 || x > pageWidth || y > pageHeight) return 0;
    int c = 0, r = 0;
    for (int i = 1; i <= grid.columns && c == 0; ++i)
        if (x < i * b.TileWidth) c = i;
    for (int i = 1; i <= grid.rows && r == 0; ++i)
        if (y < i * b.TileHeight) r = i;
    if (c == 0 || r == 0) return 0;
    return c + (r - 1) * grid.columns;
}

void ClampCrop(TCropTileBlock& b, float pageWidth, float pageHeight) {
    const float l = ClampTo(b.CropLeft, pageWidth), r = ClampTo(b.CropRight, pageWidth);
    const float t = ClampTo(b.CropTop, pageHeight), bo = ClampTo(b.CropBottom, pageHeight);
    b.CropLeft = std::min(l, r);
    b.CropRight = std::max(l, r);
    b.CropTop = std::min(t, bo);
    b.CropBottom = std::max(t, bo);
}

bool CropFits(float w, float h, const MediaLimits& limits) {
    if (h <= limits.width) return w <= limits.height;  // may run turned across the media
    return w <= limits.width && h <= limits.height;
}

bool CropWantsRotation(const TCropTileBlock& b, const TemfFile& job, const TemfPlotter& device) {
    const float w = b.CropRight - b.CropLeft, h = b.CropBottom - b.CropTop;
    return h < w && w > device.MediaWidth - 2 * job.CropmarkSize;
}

int HitTest(int left, int top, int right, int bottom, int x, int y) {
    if (x < left - 4 || x > right + 4 || y < top - 4 || y > bottom + 4) return 0;
    if (std::abs(x - (left + right) / 2) <= 4 && std::abs(y - (top + bottom) / 2) <= 4) return 10;
    // Near an edge: from 4 pixels outside to 3 inside it.
    const bool nearLeft = x >= left - 4 && x <= left + 3;
    const bool nearRight = x >= right - 3 && x <= right + 4;
    const bool nearTop = y >= top - 4 && y <= top + 3;
    const bool nearBottom = y >= bottom - 3 && y <= bottom + 4;
    int code = 0;
    if (nearLeft) code = 2;
    if (nearRight) code = 5;
    if (nearTop) code = 3;
    if (nearBottom) code = 7;
    if (nearLeft && nearTop) code = 1;
    if (nearRight && nearTop) code = 4;
    if (nearBottom && nearLeft) code = 8;
    if (nearBottom && nearRight) code = 6;
    return code;
}

int ReadTileMaximum() {
    return ReadRegInteger(kMaximumValue, kDefaultMaximum);
}
void WriteTileMaximum(int maximum) {
    WriteRegInteger(kMaximumValue, maximum);
}

TileEditor::TileEditor(UserInterface& ui, const TCropTileBlock& block, float pageWidth,
                       float pageHeight, const MediaLimits& limits, int maximum, bool metric)
    : ui_(ui),
      block_(block),
      pageWidth_(pageWidth),
      pageHeight_(pageHeight),
      limits_(limits),
      maximum_(maximum),
      metric_(metric) {}

void TileEditor::DefaultTileSize() {
    TCropTileBlock& b = block_;
    if (b.TileWidth == 0 || b.TileHeight == 0) {
        // A tile and its two bleeds fill the media.
        if (b.RotateOnPrinter) {
            b.TileWidth = b.MaxHeight - 2 * b.BleedY;
            b.TileHeight = b.MaxWidth - 2 * b.BleedX;
        } else {
            b.TileWidth = b.MaxWidth - 2 * b.BleedX;
            b.TileHeight = b.MaxHeight - 2 * b.BleedY;
        }
    }
    b.TileWidth = std::max(b.TileWidth, pageWidth_ / 100);
    b.TileHeight = std::max(b.TileHeight, pageHeight_ / 100);
}

void TileEditor::CheckGrid() {
    grid_ = GridOf(block_, pageWidth_, pageHeight_);
    if (grid_.Count() <= maximum_) return;
    ui_.Message(MessageKind::Warning,
                Format("Error, too many tiles!\r\rYour selection would result in %d x %d (%d) "
                       "tiles.\r\rThe allowable maximum is %d tiles",
                       grid_.columns, grid_.rows, grid_.Count(), maximum_),
                ButtonOk);
    // The next grid is a single tile covering the page.
    block_.TileWidth = pageWidth_ + 1;
    block_.TileHeight = pageHeight_ + 1;
    grid_ = {};
}

void TileEditor::UpdateAll() {
    TCropTileBlock& b = block_;
    if (b.MaxWidth == 0) b.MaxWidth = limits_.width;
    if (b.MaxHeight == 0) b.MaxHeight = limits_.height;
    if (!b.MultiTiles) {
        ClampCrop(b, pageWidth_, pageHeight_);
        return;
    }
    DefaultTileSize();
    CheckGrid();
    b.TileCount = grid_.Count();
    if (b.TileCount < b.TileNo) b.TileNo = 0;
    if (b.TileNo == 0 && b.TileCount > 0) b.TileNo = 1;
    if (b.TileNo > 0 && printed_.size() < static_cast<std::size_t>(b.TileNo)) CreateTileList();
    const MmRect r = TileRect(b, grid_, b.TileNo, pageWidth_, pageHeight_);
    b.CropLeft = r.left;
    b.CropTop = r.top;
    b.CropRight = r.right;
    b.CropBottom = r.bottom;
}

void TileEditor::SetMultiTiles(bool on) {
    block_.MultiTiles = on;
    if (!on) ResetCrop();
    UpdateAll();
}

void TileEditor::SetCropEdges(float left, float top, float right, float bottom) {
    block_.CropLeft = left;
    block_.CropTop = top;
    block_.CropRight = right;
    block_.CropBottom = bottom;
    ClampCrop(block_, pageWidth_, pageHeight_);
    UpdateAll();
}

void TileEditor::ResetCrop() {
    SetCropEdges(0, 0, pageWidth_, pageHeight_);
}

void TileEditor::SetTileSize(float width, float height) {
    if (block_.MultiTiles) {
        block_.TileWidth = width;
        block_.TileHeight = height;
        ResetTiles();
    } else {
        block_.CropRight = block_.CropLeft + width;
        block_.CropBottom = block_.CropTop + height;
    }
    ClampCrop(block_, pageWidth_, pageHeight_);
    UpdateAll();
}

void TileEditor::SetBleed(float x, float y, bool separate) {
    block_.BleedX = x;
    block_.BleedY = separate ? y : x;
    UpdateAll();
}

void TileEditor::SelectTile(int tile) {
    block_.TileNo = std::clamp(tile, 0, std::max(0, block_.TileCount));
    UpdateAll();
}

void TileEditor::SetRotateOnPrinter(bool on) {
    block_.RotateOnPrinter = on;
    block_.TileWidth = block_.TileHeight = 0;
    ResetTiles();
    UpdateAll();
}

void TileEditor::SetMediaSize(float width, float height) {
    block_.MaxWidth = width;
    block_.MaxHeight = height;
    SetRotateOnPrinter(block_.RotateOnPrinter);
}

void TileEditor::ResetMediaSize() {
    SetMediaSize(0, 0);
}

void TileEditor::AutoTile() {
    block_.MultiTiles = true;
    SetRotateOnPrinter(block_.RotateOnPrinter);
}

bool TileEditor::SetTileCounts(int columns, int rows) {
    if (grid_.Count() == 0 || columns < 1 || rows < 1) return false;
    block_.TileWidth = (pageWidth_ + 0.1f) / static_cast<float>(columns);
    block_.TileHeight = (pageHeight_ + 0.1f) / static_cast<float>(rows);
    ResetTiles();
    UpdateAll();
    return true;
}

void TileEditor::EquallyDistribute(bool horizontal) {
    if (grid_.Count() == 0) return;
    if (horizontal)
        block_.TileWidth = (pageWidth_ + 0.1f) / static_cast<float>(grid_.columns);
    else
        block_.TileHeight = (pageHeight_ + 0.1f) / static_cast<float>(grid_.rows);
    UpdateAll();
}

void TileEditor::SetTileText(bool on, bool reversed, bool thick, float size) {
    block_.TileText = on;
    block_.ReverseText = reversed;
    block_.ThickText = thick;
    if (size > 0) block_.TextSize = size;
}

void TileEditor::DragTo(int code, float x, float y) {
    TCropTileBlock& b = block_;
    x = ClampTo(x, pageWidth_);
    y = ClampTo(y, pageHeight_);
    if (code == 10) {
        // The centre follows the pointer; the rectangle stays on the page.
        const float w = b.CropRight - b.CropLeft, h = b.CropBottom - b.CropTop;
        const float left = std::clamp(x - w / 2, 0.0f, std::max(0.0f, pageWidth_ - w));
        const float top = std::clamp(y - h / 2, 0.0f, std::max(0.0f, pageHeight_ - h));
        b.CropLeft = left;
        b.CropRight = left + w;
        b.CropTop = top;
        b.CropBottom = top + h;
        return;
    }
    if (code == 1 || code == 2 || code == 8) b.CropLeft = x;
    if (code == 4 || code == 5 || code == 6) b.CropRight = x;
    if (code == 1 || code == 3 || code == 4) b.CropTop = y;
    if (code == 6 || code == 7 || code == 8) b.CropBottom = y;
}

void TileEditor::CreateTileList() {
    const std::size_t count = static_cast<std::size_t>(std::max(0, grid_.Count()));
    printed_.assign(count, false);
    if (projectFile_.empty()) return;
    const PrintedTiles marks = ReadPrintedTiles(projectFile_);
    for (std::size_t i = 0; i < count && i + 1 < marks.size(); ++i) printed_[i] = marks[i + 1];
}

void TileEditor::ResetTiles() {
    block_.TileNo = 0;
    printed_.clear();
    projectFile_.clear();
}

void TileEditor::ClearPrinted() {
    std::fill(printed_.begin(), printed_.end(), false);
}

void TileEditor::SetPrinted(int tile, bool printed) {
    if (tile >= 1 && static_cast<std::size_t>(tile) <= printed_.size())
        printed_[static_cast<std::size_t>(tile) - 1] = printed;
}

bool TileEditor::IsPrinted(int tile) const {
    return tile >= 1 && static_cast<std::size_t>(tile) <= printed_.size() &&
           printed_[static_cast<std::size_t>(tile) - 1];
}

void TileEditor::SaveMarks(const std::string& projectFile) const {
    if (projectFile.empty()) return;
    IniFile ini(projectFile);
    if (!ini.Load()) return;
    ini.DeleteSection("Printed Tiles");
    for (std::size_t i = 0; i < printed_.size(); ++i)
        ini.WriteBool("Printed Tiles", std::to_string(i + 1), printed_[i]);
    ini.Save();
}

std::vector<std::string> TileEditor::TileListLines() const {
    std::vector<std::string> lines;
    for (int row = 0; row < grid_.rows; ++row)
        for (int column = 0; column < grid_.columns; ++column) {
            const int n = row * grid_.columns + column + 1;
            const MmRect r = TileRect(block_, grid_, n, pageWidth_, pageHeight_);
            lines.push_back(Format("Tile: %d.  [%d,%d]  Size: ", n, column + 1, row + 1) +
                            FormatSize(r.Width(), r.Height(), metric_));
        }
    return lines;
}

std::string TileEditor::StatusText() const {
    if (!block_.MultiTiles) return {};
    const int n = block_.TileNo;
    const int column = n > 0 && grid_.columns > 0 ? (n - 1) % grid_.columns : 0;
    const int row = n > 0 && grid_.columns > 0 ? (n - 1) / grid_.columns : 0;
    return Format("Tile: %d of %d.  ( %d x %d )  [ %d, %d ]", n, block_.TileCount, grid_.columns,
                  grid_.rows, column + 1, row + 1);
}

MmRect TileEditor::Crop() const {
    return {block_.CropLeft, block_.CropTop, block_.CropRight, block_.CropBottom};
}

std::string TileEditor::CroppedSizeText() const {
    return FormatSize(Crop().Width(), Crop().Height(), metric_);
}

std::string TileEditor::PageSizeText() const {
    return FormatSize(pageWidth_, pageHeight_, metric_);
}

std::string TileEditor::CropPercentText() const {
    const double w = pageWidth_ > 0 ? Crop().Width() * 100.0 / pageWidth_ : 0;
    const double h = pageHeight_ > 0 ? Crop().Height() * 100.0 / pageHeight_ : 0;
    return Format("%.1f %% x %.1f %%", w, h);
}

bool TileEditor::Fits() const {
    return CropFits(Crop().Width(), Crop().Height(), limits_);
}

void ApplyCropBlock(JobSession& app, const TCropTileBlock& block) {
    if (!app.CurrentJob) return;
    TemfFile& job = *app.CurrentJob;
    job.CropBlock() = block;
    job.CropSection = true;
    job.Rotate = CropWantsRotation(block, job, app.CurrentPlotter);
    UpdateLayout(app, true);
}

bool SelectJobTile(JobSession& app, int tile, std::string& error) {
    if (!app.CurrentJob) return false;
    TemfFile& job = *app.CurrentJob;
    if (!job.MultiTiles || job.TileWidth <= 0 || job.TileHeight <= 0) {
        error = "the job has no billboard tiles";
        return false;
    }
    TileEditor editor(app.Ui(), job.CropBlock(), job.PageWidth, job.PageHeight,
                      TileMediaLimits(job, app.CurrentPlotter), ReadTileMaximum(), app.UseMetric);
    editor.UpdateAll();
    if (tile < 1 || tile > editor.Block().TileCount) {
        error = "the job has tiles 1 to " + std::to_string(editor.Block().TileCount) +
                ", not tile " + std::to_string(tile);
        return false;
    }
    editor.SelectTile(tile);
    ApplyCropBlock(app, editor.Block());
    return true;
}

}  // namespace corvan
